#!/usr/bin/env bash
# Tries the README's two commands as a new user would, on a brand-new Debian 12: a minbase
# debootstrap with only git and make added, holding a clone of this repository's committed HEAD.
# Inside it runs `make test`, then `make run` without a display, and prints both exit statuses and
# the last lines of each. Exit status 0 only when both pass and no test was skipped for a missing
# program; a package mirror that cannot be reached skips the check (one line, exit status 0).
#
# Usage (as root): scripts/fresh-check.sh [--new-root] [--keep-root]
#   --new-root   make the minbase root again instead of using the cached one
#   --keep-root  leave this run's root (unmounted) in the cache folder for a look afterwards
# The cache folder is $MIPOFC_FRESH_CACHE, /var/cache/mipofc-fresh-check unless set. It keeps the
# pristine root as a tarball (made once), the logs of the last run, and that run's root while it
# runs. The mirror is the host's bookworm one from its apt sources, or $MIPOFC_FRESH_MIRROR.
set -euo pipefail

suite=bookworm
lines=20  # of each command's output, printed at the end
# Tests that skip themselves because the check runs as root, which no missing package explains.
skipped_as_root=(IniFileOnDisk.AReadOnlyFileIsNotReplaced)

new_root=0
keep_root=0
for arg in "$@"; do
  case $arg in
    --new-root) new_root=1 ;;
    --keep-root) keep_root=1 ;;
    -h | --help)
      sed -n '2,/^set -euo/{/^#/s/^# \{0,1\}//p}' "$0"
      exit 0
      ;;
    *)
      echo "fresh-check: unknown argument '$arg' (try --help)" >&2
      exit 2
      ;;
  esac
done

say() { echo "fresh-check: $*"; }
die() {
  echo "fresh-check: $*" >&2
  exit 1
}

[ "$(id -u)" -eq 0 ] || die "needs root (debootstrap, chroot and mount)"

repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
head=$(git -C "$repo" rev-parse HEAD)
branch=$(git -C "$repo" branch --show-current)
cache=$(realpath -m "${MIPOFC_FRESH_CACHE:-/var/cache/mipofc-fresh-check}")
pristine=$cache/$suite-minbase.tar
root=$cache/root
logs=$cache/logs
mkdir -p "$cache" "$logs"

exec 9>"$cache/lock"
flock -n 9 || die "another fresh check is using $cache"

# The host's mirror for the suite itself (not -updates or -security), from one-line and deb822 sources.
host_mirror() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk -v suite="$suite" '
      $1 == "deb" { sub(/^deb[ \t]+(\[[^]]*\][ \t]+)?/, ""); if ($2 == suite) { print $1; exit } }' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v suite="$suite" '
      function check() {
        if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ")) { split(uris, u, " "); print u[1]; exit }
        types = uris = suites = ""
      }
      /^[ \t]*$/ { check(); next }
      tolower($1) == "types:" { $1 = ""; types = $0 }
      tolower($1) == "uris:" { $1 = ""; uris = $0 }
      tolower($1) == "suites:" { $1 = ""; suites = $0 }
      END { check() }' "$f"
  done
}
mirror=${MIPOFC_FRESH_MIRROR:-$(host_mirror | head -n 1)}
mirror=${mirror:-http://deb.debian.org/debian}
mirror=${mirror%/}

skip() {
  say "skipped: $*"
  exit 0
}

if ! command -v debootstrap >/dev/null 2>&1; then
  say "installing debootstrap"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >"$logs/apt-debootstrap.log" 2>&1 ||
    skip "apt-get update failed, so debootstrap cannot be installed (see $logs/apt-debootstrap.log)"
  apt-get install -y -qq --no-install-recommends debootstrap >>"$logs/apt-debootstrap.log" 2>&1 ||
    die "could not install debootstrap (see $logs/apt-debootstrap.log)"
fi
release=$mirror/dists/$suite/Release
if command -v wget >/dev/null 2>&1; then
  wget -q --spider --timeout=30 --tries=2 "$release" || skip "the package mirror cannot be reached ($release)"
else
  curl -fsSI --max-time 30 --retry 1 "$release" >/dev/null || skip "the package mirror cannot be reached ($release)"
fi

# Mounts at or under a folder, deepest first.
mounts_under() {
  awk -v p="$1" '$5 == p || index($5, p "/") == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

unmount_under() {
  local mount
  while read -r mount; do
    umount "$mount" 2>/dev/null || umount -l "$mount" 2>/dev/null || true
  done < <(mounts_under "$1")
}

# Stops what still runs inside a root, unmounts everything under it and deletes it. Refuses to
# delete while anything is still mounted there: /dev and /sys are the host's own.
remove_root() {
  local dir=$1 signal pid link
  [ -e "$dir" ] || return 0
  for signal in TERM KILL; do
    for pid in /proc/[0-9]*; do
      link=$(readlink "$pid/root" 2>/dev/null) || continue
      case $link in "$dir" | "$dir"/*) kill "-$signal" "${pid#/proc/}" 2>/dev/null || true ;; esac
    done
    [ "$signal" = KILL ] || sleep 1
  done
  unmount_under "$dir"
  if [ -n "$(mounts_under "$dir")" ]; then
    echo "fresh-check: still mounted under $dir, so it is left as it is:" >&2
    mounts_under "$dir" >&2
    return 1
  fi
  rm -rf --one-file-system "$dir"
}

# shellcheck disable=SC2317  # called by the EXIT trap
cleanup() {
  local status=$?
  if [ "$keep_root" -eq 1 ] && [ -d "$root" ]; then
    unmount_under "$root"
    say "the root of this run stays in $root"
  else
    remove_root "$root" || status=1
  fi
  remove_root "$cache/minbase.new" || status=1
  exit "$status"
}
trap cleanup EXIT
trap 'say "interrupted; cleaning up"; exit 130' INT
trap 'say "terminated; cleaning up"; exit 143' TERM

remove_root "$root"  # left by a run that was killed

elapsed() { printf '%dm %02ds' $(($1 / 60)) $(($1 % 60)); }

if [ "$new_root" -eq 1 ] || [ ! -f "$pristine" ]; then
  say "making a Debian 12 minbase root with git and make from $mirror (log: $logs/debootstrap.log)"
  remove_root "$cache/minbase.new"
  start=$SECONDS
  if ! debootstrap --variant=minbase --include=git,make "$suite" "$cache/minbase.new" "$mirror" \
    >"$logs/debootstrap.log" 2>&1; then
    tail -n "$lines" "$logs/debootstrap.log" >&2
    die "debootstrap failed (log: $logs/debootstrap.log)"
  fi
  rm -f "$cache/minbase.new/var/cache/apt/archives/"*.deb
  tar -C "$cache/minbase.new" --numeric-owner -cf "$pristine.new" .
  mv "$pristine.new" "$pristine"
  remove_root "$cache/minbase.new"
  say "debootstrap took $(elapsed $((SECONDS - start))); the pristine root is $pristine"
else
  say "using the cached minbase root $pristine (--new-root makes a new one)"
fi

mkdir "$root"
tar -C "$root" --numeric-owner -xpf "$pristine"

# The committed HEAD only: no uncommitted change and no build file reaches the root.
[ -z "$(git -C "$repo" status --porcelain)" ] || say "uncommitted changes in $repo are not part of the check"
work=/root/mipofc
git clone --quiet --no-checkout --no-hardlinks "$repo" "$root$work"
git -C "$root$work" cat-file -e "$head^{commit}" 2>/dev/null || git -C "$root$work" fetch --quiet origin HEAD
git -C "$root$work" checkout --quiet -B "${branch:-fresh-check}" "$head"
say "cloned $head into $work"

cp -L /etc/resolv.conf "$root/etc/resolv.conf"
# A chroot is no booted system: package scripts must not start services that would outlive it.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
for dir in proc sys dev; do
  mount --rbind "/$dir" "$root/$dir"
  mount --make-rslave "$root/$dir"
done
chmod 1777 "$root/tmp"

# A login's bare environment: no display, nothing of this shell's but a proxy.
environment=(HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb)
for name in http_proxy https_proxy no_proxy; do
  [ -z "${!name:-}" ] || environment+=("$name=${!name}")
done

# Runs a command line in the clone inside the root; its output goes to a log; sets status, took.
run_inside() {
  local log=$1 command=$2 start=$SECONDS
  say "running '$command' in the fresh root (log: $log)"
  status=0
  # In the background, so that a signal reaches the trap at once rather than after the command.
  chroot "$root" /usr/bin/env -i "${environment[@]}" /bin/bash -c "cd $work && $command" \
    </dev/null >"$log" 2>&1 &
  wait $! || status=$?
  took=$((SECONDS - start))
}

run_inside "$logs/make-test.log" "make test"
test_status=$status test_took=$took
run_inside "$logs/make-run.log" "make run"
run_status=$status run_took=$took

# ctest lists the tests that did not run; a skip other than the root ones means a missing program.
skipped=() unexpected=()
while read -r name; do
  skipped+=("$name")
  expected=0
  for allowed in "${skipped_as_root[@]}"; do [ "$name" != "$allowed" ] || expected=1; done
  [ "$expected" -eq 1 ] || unexpected+=("$name")
done < <(sed -n '/^The following tests did not run:/,/^[^ \t]/s/^[ \t]*[0-9]* - \(.*\) (Skipped)$/\1/p' \
  "$logs/make-test.log")

echo
echo "== make test: exit status $test_status after $(elapsed "$test_took"); its last $lines lines ($logs/make-test.log):"
tail -n "$lines" "$logs/make-test.log"
echo
echo "== make run: exit status $run_status after $(elapsed "$run_took"); its last $lines lines ($logs/make-run.log):"
tail -n "$lines" "$logs/make-run.log"
echo
say "tests skipped in the fresh root: ${skipped[*]:-none}"
if [ ${#unexpected[@]} -gt 0 ]; then
  say "skipped in the fresh root though not for running as root (a program the set-up lacks?): ${unexpected[*]}"
fi
if [ "$test_status" -eq 0 ] && [ "$run_status" -eq 0 ] && [ ${#unexpected[@]} -eq 0 ]; then
  say "passed: make test and make run work on a fresh Debian 12"
  exit 0
fi
say "FAILED: make test exit status $test_status, make run exit status $run_status"
exit 1
