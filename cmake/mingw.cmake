# Windows through MinGW-w64: i686 for the installer (the default), x86_64 for running the
# tests on machines that cannot execute 32-bit Wine (scripts/env.sh decides).
# The -posix compilers give std::thread and std::mutex, which the tests and the test driver
# use; the installer starts its one thread with CreateThread, and libwinpthread links
# statically, so no extra DLL is imported.
set(LUMVEX_ARCH i686 CACHE STRING "Windows architecture: i686 or x86_64")
set(CMAKE_SYSTEM_NAME Windows)
if(LUMVEX_ARCH STREQUAL "i686")
  set(CMAKE_SYSTEM_PROCESSOR X86)
else()
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
endif()
set(triplet ${LUMVEX_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_ASM_COMPILER ${triplet}-gcc-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
