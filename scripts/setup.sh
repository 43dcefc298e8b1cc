#!/usr/bin/env bash
# Installs what the build, the program under Wine and every test level need.
# Idempotent: packages already present are not touched.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config googletest libgtest-dev libbenchmark-dev
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils imagemagick xdotool
  locales python3 fonts-ipafont-gothic fonts-wine
  clang-14 libclang-rt-14-dev
  nsis
  strace
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives 932. Its
# user-interface language comes from LC_MESSAGES: the end-to-end tests run
# English beside code page 932 with en_US.UTF-8 there.
for name in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8\$"; then
    echo "setup: generating the $name.UTF-8 locale"
    as_root localedef -i "$name" -f UTF-8 "$name.UTF-8"
  fi
done
