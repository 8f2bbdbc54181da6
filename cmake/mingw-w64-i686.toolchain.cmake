# Cross build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686).
# The win32 threading variant: the program is single-threaded, and this
# variant needs no threading library at run time.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(CALDRIN_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_C_COMPILER ${CALDRIN_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${CALDRIN_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${CALDRIN_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CALDRIN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own run-time libraries go into the program, so it needs no
# DLL beyond those every Windows system has.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Host-side tools (pkg-config among them) must not hand Linux libraries to
# this build.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/${CALDRIN_MINGW_TRIPLET}/lib/pkgconfig")
