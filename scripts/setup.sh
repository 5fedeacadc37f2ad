#!/usr/bin/env bash
# Installs, with apt and only when missing, what the native, win64 and win32 builds and their tests
# need. Safe to run again: it does nothing when everything is present.
set -euo pipefail

packages=(cmake g++ make googletest libgtest-dev libgmock-dev libbenchmark-dev
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
          g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev
          wine wine64 wine32:i386 xvfb xauth fonts-arphic-uming locales libpcre2-dev clang ccache
          ghostscript doxygen)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# The win32 build's tests run in Wine's 32-bit loader (wine32), which comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture"
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating locale zh_CN.UTF-8"
  "${sudo_cmd[@]}" localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
echo "setup: ready"
