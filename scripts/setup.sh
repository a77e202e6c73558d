#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need; skips what is there.
set -euo pipefail

packages=(
  g++ make cmake ninja-build pkg-config git
  libfreetype-dev libfontconfig-dev libpng-dev
  libcli11-dev libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-image-formats-plugins libqt6svg6
  fonts-wqy-zenhei fonts-unifont
  clang libclang-rt-14-dev
  cc65
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "setup: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
