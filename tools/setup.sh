#!/usr/bin/env bash
# Installs everything both builds and all tests need, from Debian's packages, and
# prepares the Wine prefix (outside the repository). Idempotent and non-interactive.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsndfile1-dev libcli11-dev
  libx11-dev libcairo2-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64
  xvfb xauth xdotool imagemagick fonts-liberation librsvg2-bin
  espeak-ng sox
  clang-format clang-tidy
  clang libclang-rt-14-dev
  lv2-dev sordi lilv-utils liblilv-dev jalv jackd2
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Wine prefix lives outside the repository; its path is shared with the test wrapper.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tools/wine-env.sh
source "$here/wine-env.sh"
if [ ! -f "$WINEPREFIX/.ferrowin-ready" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >"$WINEPREFIX/../ferrowin-wineboot.log" 2>&1 || true
  wineserver -w || true
  # Wine has no Arial: Liberation Sans has its metrics.
  for font in Arial 'Microsoft Sans Serif'; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d 'Liberation Sans' /f \
      >>"$WINEPREFIX/../ferrowin-wineboot.log" 2>&1
  done
  wineserver -w || true
  touch "$WINEPREFIX/.ferrowin-ready"
fi
echo "setup: done"
