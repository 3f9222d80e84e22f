#!/usr/bin/env bash
# Installs the Debian packages the builds, tests and demo need, when they are missing. The
# artwork generators need FreeType, pkg-config and fontconfig on the build machine and draw
# with the DejaVu fonts; the skin embeds the Play display font for its captions. The installer
# is made with makensis (nsis).
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest
          g++-mingw-w64-x86-64-posix mingw-w64-tools
          wine64 libwine-dev wine64-tools
          xvfb xauth imagemagick libxml2-utils file nsis
          libfreetype-dev pkg-config fontconfig fonts-dejavu-core fonts-play)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" = 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
