#!/usr/bin/env bash
# Builds minizip and libjpeg-turbo for i686 MinGW from Debian's source packages into
# $LUMVEX_CACHE/deps/<key>, keyed by the source versions and the compiler, so that a clean
# clone reuses them. Prints nothing when the cache is already there.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/env.sh"

arch=${1:-i686}
triplet=$arch-w64-mingw32
cc=$triplet-gcc-posix
minizip_ver=$(apt-cache showsrc minizip 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -1)
jpeg_ver=$(apt-cache showsrc libjpeg-turbo 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -1)
[ -n "$minizip_ver" ] && [ -n "$jpeg_ver" ] || { echo "build-deps: no deb-src for minizip/libjpeg-turbo (run scripts/setup.sh)" >&2; exit 1; }
cc_ver=$($cc -dumpfullversion)
key="${arch}_minizip-${minizip_ver}_jpeg-${jpeg_ver}-nosimd-nogetenv_gcc-${cc_ver}"
prefix="$LUMVEX_CACHE/deps/${key//[^A-Za-z0-9._+-]/_}"
if [ -f "$prefix/.complete" ]; then
  echo "$prefix" > "$LUMVEX_CACHE/deps/current-$arch"
  exit 0
fi

echo "build-deps: building minizip $minizip_ver and libjpeg-turbo $jpeg_ver into $prefix"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rm -rf "$prefix"
mkdir -p "$prefix/lib" "$prefix/include/minizip"
(cd "$work" && apt-get source -qq minizip="$minizip_ver" libjpeg-turbo="$jpeg_ver" >/dev/null 2>&1)

# minizip: only the reader and the stdio I/O layer; our own I/O layer replaces iowin32.
mz=$(find "$work" -maxdepth 4 -name unzip.c -path '*minizip*' | head -1)
mz=$(dirname "$mz")
for f in ioapi unzip; do
  $cc -O2 -DNOUNCRYPT -DNOCRYPT -I/usr/$triplet/include -c "$mz/$f.c" -o "$work/$f.o"
done
$triplet-ar rcs "$prefix/lib/libminizip.a" "$work/ioapi.o" "$work/unzip.o"
cp "$mz/ioapi.h" "$mz/unzip.h" "$prefix/include/minizip/"

# libjpeg-turbo: static, without its SIMD code (the window decodes a few small pictures once,
# and the SIMD dispatch would link every encoder and decoder kernel into the installer),
# without reading its JPEGMEM environment variable (the installer reads none), and with the
# C runtime's own printf family rather than MinGW's larger one.
jt=$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -1)
cat > "$work/toolchain.cmake" <<TC
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR $( [ $arch = i686 ] && echo X86 || echo AMD64 ))
set(CMAKE_C_COMPILER $cc)
set(CMAKE_RC_COMPILER $triplet-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triplet)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
TC
cmake -S "$jt" -B "$work/jpeg-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_SIMD=OFF \
  -DCMAKE_POSITION_INDEPENDENT_CODE=OFF -DCMAKE_C_FLAGS="-DNO_GETENV -D__USE_MINGW_ANSI_STDIO=0" >/dev/null
cmake --build "$work/jpeg-build" --target install >/dev/null
touch "$prefix/.complete"
echo "$prefix" > "$LUMVEX_CACHE/deps/current-$arch"
echo "build-deps: done"
