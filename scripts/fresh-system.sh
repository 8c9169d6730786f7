#!/usr/bin/env bash
# Tries the README's commands where a newcomer would: a fresh minimal Debian
# system of the named release, made from Debian's archive with debootstrap,
# with this repository's committed state cloned into an ordinary user's home:
#   sudo bash scripts/fresh-system.sh bookworm|trixie [FOLDER [COMMAND...]]
# The system goes into FOLDER (by default /var/tmp/vtrak-fresh-RELEASE), which
# must not exist yet; this machine's own configuration is not touched. The
# commands (by default the README's: play, the browser build, test) run as the
# user "player", who may sudo, in a mount and process namespace of their own
# whose root is the new system (entered with pivot_root, not chroot, so that
# the tests can make namespaces of their own). For each command it prints:
# pass or fail, the time, the load average at its end, the packages it
# installed and what apt downloaded for them. Each command's output is kept in
# FOLDER/var/log/vtrak-fresh/. Not part of the test command: it takes an hour.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
fail() {
  echo "vtrak fresh: $*" >&2
  exit 1
}
release="${1:-}"
case "$release" in
  bookworm | trixie) ;;
  *)
    echo "usage: sudo bash scripts/fresh-system.sh bookworm|trixie [FOLDER [COMMAND...]]" >&2
    exit 2
    ;;
esac
system="${2:-/var/tmp/vtrak-fresh-$release}"
commands=("${@:3}")
[ "${#commands[@]}" -gt 0 ] ||
  commands=("bash scripts/play.sh" "bash scripts/web.sh --build-only" "bash scripts/test.sh")
[ "$(id -u)" -eq 0 ] || fail "making a system needs root: sudo bash scripts/fresh-system.sh $release"
command -v debootstrap >/dev/null || fail "debootstrap is missing; as root run: apt-get install debootstrap"
[ ! -e "$system" ] || fail "$system exists; remove it or name another folder"

mirror=http://deb.debian.org/debian
started=$(date +%s)
echo "vtrak fresh: making a minimal Debian $release in $system"
mkdir -p "$system"
debootstrap --variant=minbase --include=sudo,git,ca-certificates "$release" "$system" "$mirror" \
  >"$system.debootstrap.log" 2>&1 || fail "debootstrap failed; see $system.debootstrap.log"
mv "$system.debootstrap.log" "$system/var/log/"

# What Debian's installer writes: the release, its updates and its security
# updates; a host name that resolves, and localhost.
cat >"$system/etc/apt/sources.list" <<LIST
deb $mirror $release main
deb $mirror $release-updates main
deb http://security.debian.org/debian-security $release-security main
LIST
echo vtrak-fresh >"$system/etc/hostname"
printf '127.0.0.1\tlocalhost\n127.0.1.1\tvtrak-fresh\n::1\tlocalhost ip6-localhost ip6-loopback\n' \
  >"$system/etc/hosts"
cp /etc/resolv.conf "$system/etc/resolv.conf"
chroot "$system" useradd --create-home --shell /bin/bash --groups sudo player
echo 'player ALL=(ALL:ALL) NOPASSWD: ALL' >"$system/etc/sudoers.d/player"
chmod 0440 "$system/etc/sudoers.d/player"
git clone --quiet "$root" "$system/home/player/vtrak"
player_ids=$(chroot "$system" id -u player):$(chroot "$system" id -g player)
chown -R "$player_ids" "$system/home/player/vtrak"
mkdir -p "$system/var/log/vtrak-fresh"
echo "vtrak fresh: the system is made ($(($(date +%s) - started)) s, $(du -sm "$system" | cut -f1) MB)"

# Inside: a private mount namespace with the new system as its root.
inside() {
  set -euo pipefail
  local system="$1"
  shift
  mount --make-rprivate /
  mount --bind "$system" "$system"
  mount -t proc proc "$system/proc"
  mount --rbind /sys "$system/sys"
  mount --rbind /dev "$system/dev"
  mount -t tmpfs -o mode=0755 tmpfs "$system/run"
  echo vtrak-fresh >/proc/sys/kernel/hostname
  mkdir -p "$system/run/lock" "$system/.host"
  cd "$system"
  pivot_root . .host
  cd /
  umount -l /.host
  rmdir /.host
  export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
  local command name log status begun packages bytes packages_after bytes_after
  installed_count() { dpkg-query -W -f='${db:Status-Status}\n' | grep -c '^installed$'; }
  downloaded_bytes() { find /var/cache/apt/archives -maxdepth 1 -name '*.deb' -printf '%s\n' | awk '{s += $1} END {print s + 0}'; }
  for command in "$@"; do
    name=$(tr -c 'a-z0-9\n' '-' <<<"${command#bash scripts/}")
    log="/var/log/vtrak-fresh/$name.log"
    packages=$(installed_count)
    bytes=$(downloaded_bytes)
    begun=$(date +%s)
    status=0
    runuser --login player --command "cd ~/vtrak && $command" >"$log" 2>&1 </dev/null || status=$?
    local seconds=$(($(date +%s) - begun))
    packages_after=$(installed_count)
    bytes_after=$(downloaded_bytes)
    printf '%-34s %s  %dm%02ds  load %s  %d packages, %d MB downloaded\n' "$command" \
      "$([ "$status" -eq 0 ] && echo pass || echo "FAIL ($status)")" $((seconds / 60)) $((seconds % 60)) \
      "$(cut -d' ' -f1-3 /proc/loadavg)" $((packages_after - packages)) \
      $(((bytes_after - bytes + 500000) / 1000000)) | tee -a /var/log/vtrak-fresh/summary
    [ "$status" -eq 0 ] || tail -n 15 "$log" | sed 's/^/    /'
  done
}
echo "vtrak fresh: $(. "$system/etc/os-release" && echo "$PRETTY_NAME"), $(cat "$system/etc/debian_version"), $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores"
unshare --mount --pid --fork --uts --ipc -- bash -c "$(declare -f inside); inside \"\$@\"" inside \
  "$system" "${commands[@]}"
echo "vtrak fresh: logs in $system/var/log/vtrak-fresh/"
! grep -q FAIL "$system/var/log/vtrak-fresh/summary"
