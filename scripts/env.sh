# Shared settings of the scripts: the dependency cache, which Windows architecture the tests
# run here, and the Wine prefix for it.
export LUMVEX_CACHE="${LUMVEX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lumvex}"

# The installer is a 32-bit program. Some kernels (virtual machines without IA-32 emulation)
# cannot execute any 32-bit Linux process, and so no 32-bit Wine; there the tests run a
# 64-bit build of the same sources under 64-bit Wine. The probe is a 32-bit ELF that exits 0.
ia32_runs() {
  local d; d=$(mktemp -d)
  printf '.globl _start\n_start: movl $1,%%eax\nxorl %%ebx,%%ebx\nint $0x80\n' > "$d/t.s"
  as --32 -o "$d/t.o" "$d/t.s" 2>/dev/null && ld -m elf_i386 -o "$d/t" "$d/t.o" 2>/dev/null && "$d/t" 2>/dev/null
  local rc=$?; rm -rf "$d"; return $rc
}
if [ -z "${LUMVEX_TEST_ARCH:-}" ]; then
  if ia32_runs; then LUMVEX_TEST_ARCH=i686; else LUMVEX_TEST_ARCH=x86_64; fi
fi
export LUMVEX_TEST_ARCH
if [ "$LUMVEX_TEST_ARCH" = i686 ]; then
  export WINEARCH=win32 LUMVEX_WINE=wine
else
  export WINEARCH=win64 LUMVEX_WINE=/usr/lib/wine/wine64
fi
export WINEPREFIX="${WINEPREFIX:-$LUMVEX_CACHE/wineprefix-$LUMVEX_TEST_ARCH}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
