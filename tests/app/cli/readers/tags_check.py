# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
"""Reads the tag fields of mrb-list's csv and jsonl (--tags) back with
Python's own csv and json modules and prints, for each file, its name and
tag fields as one line, "-" for an empty field.

Usage: tags_check.py CSV JSONL
Exits 1 when the two disagree, a header or key is missing, or a number is
not one.
"""
import csv
import json
import sys

TAGS = ['length', 'title', 'artist', 'album', 'album_artist', 'track', 'disc', 'year', 'genre', 'bitrate',
        'sample_rate']
NUMBERS = {'length', 'track', 'disc', 'year', 'bitrate', 'sample_rate'}


def main():
    with open(sys.argv[1], newline='', encoding='utf-8') as f:
        records = list(csv.DictReader(f, strict=True))
    with open(sys.argv[2], encoding='utf-8') as f:
        objects = [json.loads(line) for line in f]
    problems = []
    if len(records) != len(objects):
        problems.append('csv has %d records, jsonl %d' % (len(records), len(objects)))
    for record, obj in zip(records, objects):
        if list(obj)[-len(TAGS):] != TAGS or list(record)[-len(TAGS):] != TAGS:
            problems.append('tag fields missing or out of order: %r' % list(obj))
            continue
        for key in TAGS:
            value = obj[key]
            if key in NUMBERS and value is not None and not isinstance(value, int):
                problems.append('%s: %s is %r, not a number' % (obj['name'], key, value))
            if record[key] != ('' if value is None else str(value)):
                problems.append('%s: %s is %r in csv, %r in jsonl' % (obj['name'], key, record[key], value))
        if obj['kind'] == 'file':
            shown = ['-' if obj[k] is None else str(obj[k]) for k in TAGS if k != 'bitrate']
            print('|'.join([obj['name']] + shown + ['bitrate' if obj['bitrate'] else '-']))
    for p in problems:
        print(p)
    return 1 if problems else 0


sys.exit(main())
