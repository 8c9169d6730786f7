#!/usr/bin/env bash
# The manual pages describe every option: each option and command that
# `vtrak --help` and `vtrak-tool --help` print has an entry of its own in
# vtrak(6) and vtrak-tool(1) (a tagged paragraph or a subsection), each entry
# names one they print, every option their sources name as a string has an
# entry, and vtrak(6) names every environment variable the game reads.
# Usage: manual_options_test.sh VTRAK VTRAK_TOOL SOURCE_DIR
set -euo pipefail
src="$3"
man="$src/packaging/man"
problems=0

# The options (-x, --word) among the words of stdin, one a line, sorted.
options() { tr ' \t|,[]()"' '\n' | grep -E '^-(-[a-z][a-z0-9-]*|[A-Za-z])$' | sort -u || true; }
# The options named as string literals in the source on stdin.
literals() { grep -oE '"-(-[a-z][a-z0-9-]*|[A-Za-z]")' | tr -d '"' | sort -u || true; }
# The options in a page's entry tags (the line after .TP, and .SS headings).
entries() {
  awk 'tag { print; tag = 0 } /^\.TP/ { tag = 1 } /^\.SS / { print }' "$1" |
    sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/^\.[A-Z]* *//' | options
}
# Says "$1 LINE" for each line of $2 that $3 lacks.
missing() {
  while read -r line; do
    [ -z "$line" ] || { echo "$1 $line" && problems=$((problems + 1)); }
  done < <(comm -23 <(printf '%s\n' "$2") <(printf '%s\n' "$3"))
}
# check PROGRAM PAGE HELP_OPTIONS SOURCE_OPTIONS
check() {
  local page described
  page=$(basename "$2")
  described=$(entries "$2")
  missing "$1 --help prints, and $page has no entry for:" "$3" "$described"
  missing "$page has an entry for what $1 --help does not print:" "$described" "$3"
  missing "$1's sources name, and $page has no entry for:" "$4" "$described"
}

check vtrak "$man/vtrak.6" "$("$1" --help | sed 's/man -l .*//' | options)" \
  "$(find "$src/app" -name '*.cpp' ! -name '*_web.cpp' -exec cat {} + | literals)"
for variable in $(grep -rhoE 'getenv\("[A-Z_]+"\)' "$src/app" "$src/platform" | cut -d'"' -f2 | sort -u); do
  grep -qE "(^|[^A-Z_])$variable([^A-Z_]|\$)" "$man/vtrak.6" ||
    missing "the game reads, and vtrak.6 does not name, the variable" "$variable" ""
done
tool_help=$("$2" --help)
check vtrak-tool "$man/vtrak-tool.1" "$(options <<<"$tool_help")" "$(cat "$src"/tools/vtrak-tool/*.cpp | literals)"
commands=$(grep -oE 'vtrak-tool [a-z]+' <<<"$tool_help" | cut -d' ' -f2 | sort -u)
sections=$(sed -n 's/^\.SS \([a-z][a-z]*\)$/\1/p' "$man/vtrak-tool.1" | sort -u)
missing "vtrak-tool --help prints, and vtrak-tool.1 has no subsection for, the command" "$commands" "$sections"
missing "vtrak-tool.1 has a subsection for what vtrak-tool --help does not print:" "$sections" "$commands"

[ "$problems" -eq 0 ] || { echo "FAIL: $problems options, commands or variables not described in one place and the other" >&2 && exit 1; }
echo PASS
