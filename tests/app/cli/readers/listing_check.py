# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
"""Reads mrb-list's csv and jsonl of FOLDER back with Python's own csv and
json modules and compares every row and field with what the tree holds.

Usage: listing_check.py FOLDER CSV JSONL
Prints each difference, then the number of rows; exits 1 on any difference.
"""
import base64
import csv
import datetime
import json
import os
import stat
import subprocess
import sys

FIELDS = ['name', 'path', 'size', 'type', 'modified', 'created', 'accessed', 'kind']
TYPES = {b'.mp3': 'MP3 audio', b'.ogg': 'Ogg audio'}


def when(seconds):
    return datetime.datetime.fromtimestamp(seconds).astimezone().isoformat(timespec='seconds')


def birth(path):
    seconds = int(subprocess.run(['stat', '--printf=%W', path], check=True, capture_output=True).stdout)
    return when(seconds) if seconds > 0 else None


def tree_rows(top):
    """(folder, name) in bytes -> the row's fields as jsonl holds them."""
    rows = {}

    def visit(path):
        st = os.lstat(path)
        folder = stat.S_ISDIR(st.st_mode)
        size = sum(visit(os.path.join(path, n)) for n in os.listdir(path)) if folder else st.st_size
        parent, name = os.path.split(path)
        rows[(parent, name)] = {
            'size': size,
            'type': 'Folder' if folder else TYPES[os.path.splitext(name)[1]],
            'modified': when(st.st_mtime_ns // 10**9),
            'created': birth(path),
            'accessed': when(st.st_atime_ns // 10**9),
            'kind': 'folder' if folder else 'file',
        }
        return size

    visit(top)
    return rows


def lossy(raw):
    return raw.decode('utf-8', 'replace')


def exact(obj, field):
    """The bytes of a jsonl name or path, and whether *_bytes was right to be there."""
    if field + '_bytes' in obj:
        raw = base64.b64decode(obj[field + '_bytes'], validate=True)
        return raw, lossy(raw) == obj[field] and lossy(raw).encode('utf-8') != raw
    return obj[field].encode('utf-8'), True


def main():
    top, csv_path, jsonl_path = (os.fsencode(a) for a in sys.argv[1:4])
    expected = tree_rows(os.path.abspath(top))
    problems = []

    with open(jsonl_path, 'rb') as f:
        objects = [json.loads(line.decode('utf-8')) for line in f.read().split(b'\n')[:-1]]
    keys = []
    for i, obj in enumerate(objects):
        name, name_ok = exact(obj, 'name')
        path, path_ok = exact(obj, 'path')
        key = (path, name)
        keys.append(key)
        if not (name_ok and path_ok):
            problems.append('jsonl row %d: name_bytes or path_bytes wrong: %r' % (i, obj))
        want = expected.get(key)
        if want is None:
            problems.append('jsonl row %d: not in the tree: %r' % (i, key))
            continue
        if [k for k in obj if not k.endswith('_bytes')] != FIELDS:
            problems.append('jsonl row %d: fields %r' % (i, list(obj)))
        for field, value in want.items():
            if obj.get(field) != value:
                problems.append('jsonl row %d %r: %s is %r, the tree has %r' % (i, key, field, obj.get(field), value))
    if len(set(keys)) != len(keys):
        problems.append('jsonl: a row twice')
    for key in sorted(set(expected) - set(keys)):
        problems.append('jsonl: missing %r' % (key,))

    with open(csv_path, newline='', encoding='utf-8') as f:
        records = list(csv.reader(f, strict=True))
    with open(csv_path, 'rb') as f:
        if not f.read().endswith(b'\r\n'):
            problems.append('csv: the last line does not end with CR LF')
    if not records or records[0] != FIELDS:
        problems.append('csv: header %r' % (records[:1],))
    if len(records) - 1 != len(keys):
        problems.append('csv: %d records, jsonl %d rows' % (len(records) - 1, len(keys)))
    for i, (record, key) in enumerate(zip(records[1:], keys)):
        want = expected.get(key, {})
        text = {k: '' if v is None else str(v) for k, v in want.items()}
        wanted = [lossy(key[1]), lossy(key[0])] + [text.get(f) for f in FIELDS[2:]]
        if record != wanted:
            problems.append('csv record %d: %r, the tree has %r' % (i, record, wanted))

    for p in problems:
        print(p)
    print('%d rows' % len(keys))
    return 1 if problems else 0


sys.exit(main())
