#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# Makes the seed corpus of the media reader's fuzz target (fuzz/corpus/media):
# a tenth of a second of sound, tagged, in every container the reader knows,
# each a few KB. A seed is one byte naming the extension (its index in
# media_fuzz.cpp's table), then the file. Needs sox, lame and ffmpeg.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
out=corpus/media
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

tags=(-metadata title='Intro, "live"' -metadata artist='The Band' -metadata album='Live' -metadata album_artist='Various'
    -metadata track=3/12 -metadata disc=2/2 -metadata date=1999 -metadata genre=Rock)
ff() { ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:sample_rate=8000:duration=0.1 -ac 1 "$@"; }

# seed NAME INDEX FILE
seed() { { printf "\\x$(printf %02x "$2")"; cat "$3"; } >"$out/$1"; }

sox -V1 -n -r 8000 -c 1 -t wav - synth 0.1 sine 440 | lame --quiet -b 8 --tt 'Intro' --ta 'The Band' --tl Live \
    --ty 1999 --tn 3 --tg Rock --add-id3v2 - "$work/id3.mp3"
seed mp3-id3v1-id3v2 0 "$work/id3.mp3"
ff -c:a libvorbis -q:a 0 "${tags[@]}" "$work/a.ogg" && seed ogg-vorbis 1 "$work/a.ogg"
ff -c:a libopus -b:a 6k "${tags[@]}" "$work/a.opus" && seed opus 2 "$work/a.opus"
ff -c:a flac "${tags[@]}" "$work/a.flac" && seed flac 3 "$work/a.flac"
ff -c:a aac -b:a 8k "${tags[@]}" "$work/a.m4a" && seed m4a 4 "$work/a.m4a"
ff -c:a wmav2 -b:a 24k "${tags[@]}" "$work/a.wma" && seed asf-wma 5 "$work/a.wma"
ff -c:a pcm_u8 "${tags[@]}" "$work/a.wav" && seed wav-info 6 "$work/a.wav"
ff -c:a pcm_s16be -write_id3v2 1 "${tags[@]}" "$work/a.aiff" && seed aiff-id3 7 "$work/a.aiff"
ff -c:a wavpack "${tags[@]}" "$work/a.wv" && seed wavpack-ape 8 "$work/a.wv"
ff -c:a speex -f ogg "${tags[@]}" "$work/a.spx" 2>/dev/null && seed ogg-speex 11 "$work/a.spx" || true
ff -c:a tta "${tags[@]}" "$work/a.tta" && seed tta-ape 12 "$work/a.tta"
ff -c:a flac -f ogg "${tags[@]}" "$work/b.oga" && seed ogg-flac 13 "$work/b.oga"
ls -l "$out"
