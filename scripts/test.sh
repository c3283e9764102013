#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: unit tests and end-to-end tests of the
# real installer under Wine on a virtual display. Screenshots land in build-<arch>/artefacts.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/setup.sh"
. "$here/scripts/env.sh"

# The product is the 32-bit build; where this machine cannot run 32-bit Wine the tests run a
# 64-bit build of the same sources, and the 32-bit product is still built and inspected.
"$here/scripts/build.sh" i686
test_options=(-DLUMVEX_PRODUCT_EXE="$here/build-i686/installer.exe")
[ "$LUMVEX_TEST_ARCH" = i686 ] || "$here/scripts/build.sh" "$LUMVEX_TEST_ARCH" "${test_options[@]}"
[ "$LUMVEX_TEST_ARCH" = i686 ] && "$here/scripts/build.sh" i686 "${test_options[@]}"

export LUMVEX_ARTEFACTS="$here/build-$LUMVEX_TEST_ARCH/artefacts"
rm -rf "$LUMVEX_ARTEFACTS"
cd "$here/build-$LUMVEX_TEST_ARCH"
"$here/scripts/with-display.sh" ctest --output-on-failure --timeout 300 "$@"
