#!/bin/bash
# vtrak-tool sound PATH: the line it prints for a WAV file and an Ogg file, and
# its error for a missing file.
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAIL: $*"; exit 1; }

# 8-bit mono at 11025 Hz, 6 bytes of data, header claiming 8 (the rest is silence).
printf 'RIFF\x2c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x11\x2b\x00\x00\x11\x2b\x00\x00\x01\x00\x08\x00data\x08\x00\x00\x00ABCDEF' > a.wav
out=$("$tool" sound a.wav) || fail "a.wav: exit $?"
crc=$(printf 'ABCDEF\x80\x80' | gzip -c | tail -c 8 | od -An -tx4 | awk '{print $1}')
want="channels=1 rate=11025 bits=8 blockAlign=1 bytesPerSecond=11025 length=8 crc32=$crc"
[ "$out" = "$want" ] || fail "a.wav: got '$out', want '$want'"

err=$("$tool" sound missing.wav 2>&1 >/dev/null)
[ $? -eq 1 ] || fail "missing.wav: exit status"
case $err in "error: "*missing.wav*) ;; *) fail "missing.wav: stderr '$err'" ;; esac

# An Ogg name with foreign content: nothing is converted, the tool says so.
cp a.wav fake.ogg
mkdir data
err=$("$tool" sound fake.ogg 2>&1 >/dev/null)
[ $? -eq 1 ] || fail "fake.ogg: exit status"
[ ! -e data/result.wav ] || fail "fake.ogg: data/result.wav written"
case $err in "error: "*fake.ogg*) ;; *) fail "fake.ogg: stderr '$err'" ;; esac
# A FIFO is refused at once, not waited on; a name is printed with its
# control characters escaped.
mkfifo pipe.wav
err=$(timeout 10 "$tool" sound pipe.wav 2>&1 >/dev/null)
[ $? -eq 1 ] || fail "pipe.wav: exit status (124: it blocked)"
case $err in "error: pipe.wav is not a regular file"*) ;; *) fail "pipe.wav: stderr '$err'" ;; esac
err=$("$tool" sound $'red\e[31m.wav' 2>&1 >/dev/null)
case $err in *'red\x1B[31m.wav'*) ;; *) fail "a control character was printed raw: '$err'" ;; esac
echo "sound tool: all checks passed"
