#!/usr/bin/env bash
# Damaged and misnamed sound files through `vtrak-tool sound`, which loads as
# the game loads: a WAV cut off in its header, a WAV claiming 4 GiB of data,
# a ".ogg" that is not Ogg Vorbis beside an earlier data/result.wav, and a real
# Ogg file with no data folder. Each ends with status 1 and one line naming the
# file, and no file is written or changed.
# Usage: sound_files_test.sh VTRAK_TOOL SOUND_FILE_WRITER
source "$(dirname "$0")/../person/lib.sh"
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$2" "$work/files/wav" "$work/files/ogg"

# Runs the tool in folder $1 on file $2; the error must name $3 (default $2;
# empty: any name).
expect_refusal() {
  local folder="$1" file="$2" named="${3-$2}" before message status
  before=$(cd "$folder" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum)
  set +e
  message=$(cd "$folder" && "$tool" sound "$file" 2>&1 >/dev/null)
  status=$?
  set -e
  [ "$status" -eq 1 ] || fail "$file: exit status $status, not 1 ($message)"
  [ "$(printf '%s\n' "$message" | wc -l)" -eq 1 ] || fail "$file: more than one line: $message"
  case "$message" in "error: "*"$named"*) ;; *) fail "$file: said '$message'" ;; esac
  [ "$(cd "$folder" && find . -type f -print0 | sort -z | xargs -0 -r sha256sum)" = "$before" ] ||
    fail "$file: files in $folder changed"
}

mkdir "$work/wav"
cp "$work/files/wav/truncated.wav" "$work/files/wav/huge-length.wav" "$work/wav/"
expect_refusal "$work/wav" truncated.wav
expect_refusal "$work/wav" huge-length.wav

# A user's earlier conversion stays as it was.
mkdir -p "$work/fake/data"
printf 'RIFF an earlier result' >"$work/fake/data/result.wav"
printf 'RIFF\x24\x00\x00\x00WAVEfmt this is no Ogg Vorbis' >"$work/fake/fake.ogg"
expect_refusal "$work/fake" fake.ogg "fake.ogg was not converted"

mkdir "$work/nodata"
cp "$work/files/ogg/mono.ogg" "$work/nodata/"
expect_refusal "$work/nodata" mono.ogg
[ ! -e "$work/nodata/data" ] || fail "a data folder was made"
# The same file converts where there is a data folder: the refusal above was for the folder.
mkdir "$work/nodata/data"
(cd "$work/nodata" && "$tool" sound mono.ogg >/dev/null) || fail "mono.ogg did not convert"
# And so it does as a launcher may start it: SIGCHLD ignored, every signal
# blocked, standard input and error closed.
(cd "$work/nodata" && env --ignore-signal=CHLD --block-signal "$tool" sound mono.ogg <&- 2>&- >/dev/null) ||
  fail "mono.ogg did not convert with SIGCHLD ignored and signals blocked"

# Too few descriptors or too little memory is named, never taken for a damaged file.
# Only in the plain build: the sanitizers' runtime needs memory and descriptors
# of its own (its checks then fail themselves).
cd "$work/nodata"
(ulimit -v 200000 && "$tool" --version >/dev/null 2>&1) && plain=true || plain=false
$plain && for n in 4 5 6 7 8 9 10 11 12 16; do
  message=$(ulimit -n "$n" && "$tool" sound mono.ogg 2>&1 >/dev/null) && break
  case "$message" in *unexpectedly* | *damaged*) fail "$n open files: $message" ;;
    *"open files"*) ;; *) fail "$n open files: $message" ;; esac
done || true
! $plain || [ "$n" -lt 16 ] || fail "mono.ogg did not convert with 12 open files: $message"
printf 'RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00data\xf0\xff\xff\x0f' >claim.wav
if $plain; then
  message=$(ulimit -v 200000 && "$tool" sound claim.wav 2>&1 >/dev/null) && fail "256 MB loaded"
  case "$message" in *"out of memory"*) ;; *) fail "claim.wav in 200 MB: $message" ;; esac
fi

# A conversion leaves no file of its own however it is ended, and its decoder
# ends with it.
decoder() { grep -o '[0-9]*' "/proc/$1/task/$1/children" 2>/dev/null; }
cp mono.ogg long.ogg && truncate -s 4G long.ogg # read at most as far as the kill
for signal in INT TERM HUP KILL; do
  env --default-signal "$tool" sound long.ogg >/dev/null 2>&1 &
  child=$(wait_for decoder $!) || fail "no conversion under way"
  kill -s "$signal" $! && ! wait $! || fail "SIG$signal did not end the conversion"
  wait_for ended "$child" || fail "SIG$signal left the decoder running"
  [ "$(ls -A data)" = result.wav ] || fail "SIG$signal left files: $(ls -A data)"
done
echo PASS
