#!/usr/bin/env bash
# The manual pages are where every option is described: each option and
# command that `vtrak --help` and `vtrak-tool --help` print has an entry of its
# own in vtrak(6) and vtrak-tool(1) (a tagged paragraph or a subsection), each
# entry names an option the program prints, and every option the program's
# sources name as a string is among them; so is every environment variable
# the game's sources read. A new option cannot land unless both its usage and
# its manual say it.
# Usage: manual_options_test.sh VTRAK VTRAK_TOOL SOURCE_DIR
set -euo pipefail
vtrak="$1"
tool="$2"
source_dir="$3"
problems=0

# One word a line, sorted: the options (-x, --word) among the words of stdin.
options() { tr ' \t|,[]()"' '\n' | grep -E '^-(-[a-z][a-z0-9-]*|[A-Za-z])$' | sort -u || true; }
# The tags of a page's entries (the line after .TP, and .SS headings), roff
# escapes undone.
entries() {
  awk 'tag { print; tag = 0 } /^\.TP/ { tag = 1 } /^\.SS / { print }' "$1" |
    sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/^\.[A-Z]* *//'
}
# Says each line of $2 that $3 lacks, as "$1 LINE".
missing() {
  local line
  while read -r line; do
    [ -n "$line" ] || continue
    echo "$1 $line"
    problems=$((problems + 1))
  done < <(comm -23 <(printf '%s\n' "$2") <(printf '%s\n' "$3"))
}
check() {
  local name="$1" page="$2" help="$3" named="$4" described
  described=$(entries "$page" | options)
  missing "$name --help prints, and $(basename "$page") has no entry for:" "$help" "$described"
  missing "$(basename "$page") has an entry for what $name --help does not print:" "$described" "$help"
  missing "$name's sources name, and $(basename "$page") has no entry for:" "$named" "$described"
}

help=$("$vtrak" --help | sed 's/man -l .*//' | options)
named=$(find "$source_dir/app" -name '*.cpp' ! -name '*_web.cpp' -exec cat {} + |
  grep -oE '"-(-[a-z][a-z0-9-]*|[A-Za-z]")' | tr -d '"' | sort -u)
check vtrak "$source_dir/packaging/man/vtrak.6" "$help" "$named"
for variable in $(grep -rhoE 'getenv\("[A-Z_]+"\)' "$source_dir/app" "$source_dir/platform" | cut -d'"' -f2 | sort -u); do
  grep -qE "(^|[^A-Z_])$variable([^A-Z_]|\$)" "$source_dir/packaging/man/vtrak.6" ||
    missing "the game reads, and vtrak.6 does not name, the variable" "$variable" ""
done

tool_help=$("$tool" --help)
named=$(cat "$source_dir"/tools/vtrak-tool/*.cpp | grep -oE '"-(-[a-z][a-z0-9-]*|[A-Za-z]")' |
  tr -d '"' | sort -u)
check vtrak-tool "$source_dir/packaging/man/vtrak-tool.1" "$(options <<<"$tool_help")" "$named"
# The commands, each a subsection of its own.
commands=$(grep -oE 'vtrak-tool [a-z]+' <<<"$tool_help" | cut -d' ' -f2 | sort -u)
sections=$(sed -n 's/^\.SS \([a-z][a-z]*\)$/\1/p' "$source_dir/packaging/man/vtrak-tool.1" | sort -u)
missing "vtrak-tool --help prints, and vtrak-tool.1 has no subsection for, the command" "$commands" "$sections"
missing "vtrak-tool.1 has a subsection for what vtrak-tool --help does not print:" "$sections" "$commands"

[ "$problems" -eq 0 ] || {
  echo "FAIL: $problems options or commands described in one place and not the other" >&2
  exit 1
}
echo PASS
