#!/usr/bin/env bash
# The dependency installer. With every package present it asks dpkg alone:
# sudo and apt-get, which here fail and leave a mark, never run, so it needs
# no rights and no network. With one package missing it names that package,
# says what apt-get would download, and installs that package alone.
# Usage: install_deps_test.sh INSTALL_DEPS_SCRIPT
source "$(dirname "$0")/../person/lib.sh"
script="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
real_dpkg_query=$(command -v dpkg-query)

# Stand-ins that write each call into $work/calls.
stand_in() {
  mkdir -p "$work/$1"
  printf '#!/bin/sh\necho "%s $*" >>"%s/calls"\n%s\n' "$2" "$work" "$3" >"$work/$1/$2"
  chmod +x "$work/$1/$2"
}
for command in sudo apt-get apt; do stand_in failing "$command" 'exit 1'; done

for set in play test; do
  PATH="$work/failing:$PATH" bash "$script" "$set" >"$work/out" 2>&1 || true
  if grep -q 'Debian packages missing' "$work/out"; then
    echo "SKIP: this machine lacks packages of the $set set: $(cat "$work/out")"
    exit 77
  fi
  [ ! -e "$work/calls" ] || fail "with the $set set installed it ran: $(cat "$work/calls")"
  [ ! -s "$work/out" ] || fail "with the $set set installed it said: $(cat "$work/out")"
done

# xdotool missing: dpkg-query leaves it out, apt-get offers 2.5 MB for it and succeeds.
stand_in missing dpkg-query "$real_dpkg_query \"\$@\" | grep -v ' xdotool\$'"
stand_in missing sudo 'exec "$@"'
stand_in missing apt-get "case \"\$*\" in *--print-uris*)
  echo \"'http://deb.example/xdotool.deb' xdotool_1_amd64.deb 2500000 MD5Sum:0\" ;; esac"
PATH="$work/missing:$PATH" bash "$script" test >"$work/out" 2>&1 ||
  fail "installing a missing package failed: $(cat "$work/out")"
grep -q 'missing for building and testing V-TRAK: xdotool$' "$work/out" ||
  fail "the missing package was not named: $(cat "$work/out")"
grep -q '1 package, about 3 MB' "$work/out" || fail "no download size given: $(cat "$work/out")"
grep -qx 'apt-get update' "$work/calls" || fail "the package lists were not updated: $(cat "$work/calls")"
grep -qx 'apt-get install -y --no-install-recommends xdotool' "$work/calls" ||
  fail "apt-get did not install xdotool alone: $(cat "$work/calls")"

# A name the archive does not offer is named as such, not blamed on the network.
stand_in unknown apt-get 'exit 100'
stand_in unknown apt-cache 'exit 0'
PATH="$work/unknown:$work/missing:$PATH" bash "$script" test >"$work/out" 2>&1 &&
  fail "an unknown package was reported as installed: $(cat "$work/out")"
grep -q 'offers no package xdotool; its name differs' "$work/out" ||
  fail "the unknown package was not named: $(cat "$work/out")"
echo PASS
