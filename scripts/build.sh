#!/usr/bin/env bash
# Configures and builds one of the three builds: native | fuzz | win.  Build folders: build/<kind>.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?usage: build.sh native|fuzz|win [cmake --build args...]}
shift
dir=$root/build/$kind
case $kind in
  native) args=(-DCMAKE_BUILD_TYPE=Debug) ;;
  fuzz)   args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  win)    args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$root/cmake/mingw-w64-x86_64.cmake) ;;
  *) echo "build.sh: unknown build '$kind'" >&2; exit 2 ;;
esac
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja "${args[@]}" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)" "$@"
