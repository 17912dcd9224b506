#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need. Idempotent and
# quick when everything is present; needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  wine wine32:i386 wine64
  xvfb xdotool x11-apps imagemagick
  locales fonts-ipafont-gothic
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Japanese for the test bed (ANSI code page 932); Hindi, whose ANSI code page
# under Wine is UTF-8 (65001), for the rows that run the program there.
locales=(ja_JP.UTF-8 hi_IN.UTF-8)
need_locale=0
for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qix "${l/UTF-8/utf8}" || need_locale=1
done

if [ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ]; then exit 0; fi

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}" >&2
  if ! dpkg --print-foreign-architectures | grep -q i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if [ $need_locale -eq 1 ]; then
  for l in "${locales[@]}"; do
    $sudo sed -i "s/^# *$l UTF-8/$l UTF-8/" /etc/locale.gen
    grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen >/dev/null
fi
