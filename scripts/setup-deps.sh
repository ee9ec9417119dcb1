#!/usr/bin/env bash
# Installs every Debian package and npm module the project needs to build,
# test, fuzz and benchmark. Harmless to run again: it installs only what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev
  libcairo2-dev libpango1.0-dev libgdk-pixbuf-2.0-dev poppler-utils
  libzip-dev zlib1g-dev libpugixml-dev libcmark-dev nettle-dev libssl-dev zip unzip
  nodejs npm chromium firefox-esr
  qt6-base-dev qt6-webengine-dev qt6-httpserver-dev qt6-websockets-dev qt6-charts-dev qt6-translations-l10n
  xvfb xauth xdotool imagemagick fonts-dejavu-core fonts-liberation
  at-spi2-core python3-pyatspi dbus
  hyperfine time cmark pandoc help2man librsvg2-bin python3 shared-mime-info
  desktop-file-utils appstream lintian dpkg-dev fakeroot file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# A machine that already has Node.js from another Debian source needs no npm package.
if command -v npm >/dev/null 2>&1; then
  missing=("${missing[@]/npm}")
  missing=("${missing[@]/nodejs}")
fi
read -r -a missing <<<"${missing[*]}"

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The browser tests drive Debian's chromium with playwright-core and Debian's
# firefox-esr with puppeteer-core (no browser download); axe-core, gift-pegjs
# and scorm-again check the outputs with tools written by others.
if ! (cd tests/e2e && npm ls --depth=0 >/dev/null 2>&1); then
  (cd tests/e2e && npm ci --no-audit --no-fund)
fi
