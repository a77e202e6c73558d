#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need; skips what is there.
# A minbase Debian 12 with git and make is enough to start from (scripts/fresh-check.sh tries it):
# every program the build and the tests call is named here, `file` too, which CPack's shlibdeps
# step needs.
set -euo pipefail

packages=(
  g++ make cmake ninja-build pkg-config git
  libfreetype-dev libfontconfig-dev libpng-dev
  libcli11-dev libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-image-formats-plugins libqt6svg6
  fonts-wqy-zenhei fonts-unifont fonts-dejavu-core
  clang libclang-rt-14-dev
  cc65 fceux
  xvfb xauth xfonts-utils qt6-translations-l10n
  dpkg-dev file man-db
)
# Installed where Debian offers them: the package test validates the metainfo and desktop files
# with them.
optional=(appstream desktop-file-utils)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
missing_optional=()
for p in "${optional[@]}"; do
  installed "$p" || missing_optional+=("$p")
done

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_optional[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
elif [ ${#missing[@]} -eq 0 ]; then
  exit 0  # only optional packages are missing
else
  echo "setup: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
for p in "${missing_optional[@]}"; do
  if apt-cache show "$p" >/dev/null 2>&1; then missing+=("$p"); fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "setup: installing ${missing[*]}"
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
