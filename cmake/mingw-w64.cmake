# Cross build for Windows with Debian's mingw-w64 (posix threads). 32-bit
# (i686) by default: the program a setup must be, which 64-bit Windows runs
# as it is and ARM64 Windows through its emulation; ORVANE_WINDOWS_ARCH=x86_64
# builds the 64-bit one.
set(ORVANE_WINDOWS_ARCH "i686" CACHE STRING "Windows processor: i686 or x86_64")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORVANE_WINDOWS_ARCH)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ORVANE_WINDOWS_ARCH})
set(CMAKE_C_COMPILER ${ORVANE_WINDOWS_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVANE_WINDOWS_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${ORVANE_WINDOWS_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORVANE_WINDOWS_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# One self-contained executable: the C and C++ runtimes and winpthreads are
# linked in, so only DLLs that ship with Windows are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
