#!/usr/bin/env bash
# The benchmarks, in one command: builds what they need, generates the test archive, runs
# every measure under a virtual display and prints the table (bench/README.md explains it).
#   bench/run.sh            about 200 MB in 2,000 entries, 5 alternating rounds
#   bench/run.sh --quick    each measure once, at a tiny size (keeps the benchmark working)
# Everything it writes lives on a tmpfs (LUMVEX_BENCH_DIR, default /dev/shm/lumvex-bench),
# with a Wine prefix of its own there, so that running it never stops another one's Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
mb=200 entries=2000 rounds=5
case "${1:-}" in
  --quick) mb=2 entries=20 rounds=1 ;;
  "") ;;
  *) echo "usage: bench/run.sh [--quick]" >&2; exit 2 ;;
esac

work=${LUMVEX_BENCH_DIR:-/dev/shm/lumvex-bench}
mkdir -p "$work/data"
export WINEPREFIX="$work/prefix"
. "$here/scripts/env.sh"
arch=$LUMVEX_TEST_ARCH
for tool in hyperfine makensis unzip python3; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing; run scripts/setup.sh" >&2; exit 1; }
done

configure() {  # configure DIR ARCH [options...]
  local dir=$1 a=$2; shift 2
  cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw.cmake" -DLUMVEX_ARCH="$a" \
    -DLUMVEX_BENCH=ON "$@" >/dev/null
}

# The demo payload first: the generated archive starts with its two programs.
build="$work/build-$arch"
large="$work/data/large.zip"
[ -f "$large" ] || touch -d @0 "$large"  # a placeholder so that the first configure passes
configure "$build" "$arch" -DPAYLOAD_ZIP="$large"
cmake --build "$build" --target demo_payload >/dev/null

# The archive, regenerated only when its size or its generator changes.
stamp="$mb $entries $(sha256sum "$here/bench/make_archive.py" "$build/demo_payload.zip" | cut -c1-16 | tr '\n' ' ')"
if [ "$(cat "$large.stamp" 2>/dev/null)" != "$stamp" ]; then
  echo "bench: generating $mb MB in $entries entries"
  rm -f "$large"
  python3 "$here/bench/make_archive.py" "$large" "$mb" "$entries" "$build/demo_payload.zip"
  echo "$stamp" > "$large.stamp"
fi

echo "bench: building ($arch for running, i686 for the size)"
cmake --build "$build" --target installer demo_installer extract_bench install_bench inflate_floor console_floor gui_floor >/dev/null
i686="$work/build-i686"
configure "$i686" i686
cmake --build "$i686" --target installer installer_mapped >/dev/null

"$here/scripts/with-display.sh" python3 "$here/bench/bench.py" --work "$work" --bin "$build/bench" --build "$build" \
  --i686-build "$i686" --repo "$here" --large "$large" --rounds "$rounds"
