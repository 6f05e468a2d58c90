# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads).
#   cmake -S . -B build-windows \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DKFX_BUILD_TESTS=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KFX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KFX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KFX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KFX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KFX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The .exe must run on a machine with nothing else installed: the C++
# runtime, libgcc and winpthread go into it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
