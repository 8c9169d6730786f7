#!/usr/bin/env bash
# Mutation testing of the game's rules: do the unit tests notice a small wrong
# change to game/*.cpp?
#   bash scripts/mutate.sh [FILE...]        (default: game/*.cpp; paths from the top folder)
# Every change that scripts/mutants.py lists (a comparison's boundary moved,
# == and != swapped, && and || swapped, + and - or * and / swapped, a unary
# minus dropped, an integer constant one up or down, a statement dropped) is
# made on its own to a copy of the tree in build-mutate/src; the tests that link
# the game are rebuilt in build-mutate/build and their unit-labelled cases run.
# A change survives when they all still pass. The working tree and build/ are
# never touched. Prints each survivor as FILE:LINE: BEFORE -> AFTER, then the
# share killed; changes that do not compile (-Werror included) are counted
# apart and left out of the share. Takes about 10 s a change on two cores.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$root/build-mutate"
src="$work/src"
build="$work/build"
# The unit-test programs that link vtrak_game; only they are built, so
# `ctest -L unit` runs exactly their cases.
targets=(game_tests soak_tests render_tests)
# A change that makes a loop run away must end, not fill the memory.
test_timeout=60
memory_kib=2000000

cd "$root"
if [ "$#" -gt 0 ]; then files=("$@"); else files=(game/*.cpp); fi
for file in "${files[@]}"; do
  [ -f "$file" ] || { echo "mutate.sh: no file \"$file\" under $root" >&2; exit 2; }
done

# The copy: tracked and new files as they stand in the working tree.
rm -rf "$src"
mkdir -p "$src"
git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf - | tar -xf - -C "$src"
# The copy keeps the files' times, so only what changed since the last run is
# rebuilt; but the objects of the files under test may be those of the last
# run's last change: build them afresh.
for file in "${files[@]}"; do touch "$src/$file"; done

generator=()
if command -v ninja >/dev/null && [ ! -f "$build/Makefile" ]; then generator=(-G Ninja); fi
cmake -S "$src" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DVTRAK_TESTS=ON \
  -DVTRAK_BENCH=OFF >/dev/null
log="$work/last-mutant.log"

build_tests() { cmake --build "$build" -j2 --target "${targets[@]}" >"$log" 2>&1 </dev/null; }
run_tests() {
  (
    ulimit -v "$memory_kib"
    cd "$build" && ctest -L unit -j2 --timeout "$test_timeout" --stop-on-failure \
      --no-tests=error >>"$log" 2>&1 </dev/null
  )
}

echo "Building the tests and checking that they pass unchanged..." >&2
if ! build_tests || ! run_tests; then
  echo "mutate.sh: the unchanged tree does not build or pass its unit tests; see $log" >&2
  exit 1
fi

# The file being changed and its original, restored after every change and on
# any way out.
current=""
original="$work/original"
restore() {
  if [ -n "$current" ]; then
    cp "$original" "$src/$current"
    current=""
  fi
}
killed=0 survived=0 stillborn=0
survivors=()
summary() {
  local tried=$((killed + survived))
  for line in "${survivors[@]}"; do echo "survived: $line"; done
  local permille=$((tried > 0 ? killed * 1000 / tried : 0))
  echo "killed $killed of $tried changes ($((permille / 10)).$((permille % 10)) %);" \
    "$survived survived; $stillborn did not compile"
}
trap 'restore' EXIT
trap 'restore; echo "interrupted; so far:" >&2; summary; exit 130' INT TERM

for file in "${files[@]}"; do
  mapfile -t mutants < <(python3 "$root/scripts/mutants.py" list "$src/$file")
  echo "$file: ${#mutants[@]} changes" >&2
  cp "$src/$file" "$original"
  for entry in "${mutants[@]}"; do
    IFS=$'\t' read -r id line before after <<<"$entry"
    current="$file"
    python3 "$root/scripts/mutants.py" apply "$original" "$id" >"$src/$file"
    described="$file:$line: $before -> $after"
    if ! build_tests; then
      stillborn=$((stillborn + 1))
      echo "  did not compile: $described" >&2
    elif run_tests; then
      survived=$((survived + 1))
      survivors+=("$described")
      echo "  SURVIVED: $described" >&2
    else
      killed=$((killed + 1))
    fi
    restore
  done
done
summary
