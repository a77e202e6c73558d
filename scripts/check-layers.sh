#!/usr/bin/env bash
# Checks that every library includes only the libraries below it, so that the layers stay
# layers. Prints each include that climbs or crosses as FILE:LINE and exits 1; exits 0 when
# there is none. Usage: scripts/check-layers.sh [SOURCE-FOLDER]
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"

# What each library may include, besides itself: the libraries below it.
declare -A allowed=(
  [base]=""
  [text]="base"
  [font]="base"
  [engine]="font base"
  [params]="engine font text base"
  [table]="text base"
  [rom]="text base"
  [jobs]="engine font params table rom text base"
  [ui]="jobs engine font params table rom text base"
  [cli]="jobs engine font params table rom text base"
)

status=0
checked=0
for lib in "${!allowed[@]}"; do
  [ -d "$lib" ] || continue
  while IFS= read -r -d '' file; do
    checked=$((checked + 1))
    line=0
    while IFS= read -r text; do
      line=$((line + 1))
      [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]] || continue
      used=${BASH_REMATCH[1]}
      [ "$used" = "$lib" ] && continue
      # Only our libraries are layered; other quoted folders (generated files) are not.
      [ -n "${allowed[$used]+set}" ] || continue
      if [[ " ${allowed[$lib]} " != *" $used "* ]]; then
        echo "$file:$line: $lib/ may not include $used/ (${text#*#})"
        status=1
      fi
    done <"$file"
  done < <(find "$lib" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
done
if [ "$status" -eq 0 ]; then echo "layers: $checked files, every include points down"; fi
exit "$status"
