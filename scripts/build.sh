#!/usr/bin/env bash
# Configures and builds one architecture into build-<arch>: build.sh ARCH [cmake options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
arch=${1:-i686}
shift || true
dir="$here/build-$arch"
cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw.cmake" -DLUMVEX_ARCH="$arch" "$@" >/dev/null
cmake --build "$dir"
