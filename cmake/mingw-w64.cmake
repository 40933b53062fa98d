# Cross build for 64-bit Windows with Debian's mingw-w64 compiler (the posix
# threads variant: the core uses std::thread and std::mutex). The libraries
# come from scripts/build-windows-deps.sh, which installs them into one
# prefix under $KORVEL_MINGW_DEPS (default ~/.cache/korvel-mingw). Programs
# are linked statically, so an .exe runs without any DLL beside it; the tests
# run under Wine through scripts/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${_triplet}-windres)

if(DEFINED ENV{KORVEL_MINGW_DEPS})
    set(_deps "$ENV{KORVEL_MINGW_DEPS}")
elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(_deps "$ENV{XDG_CACHE_HOME}/korvel-mingw")
else()
    set(_deps "$ENV{HOME}/.cache/korvel-mingw")
endif()
set(KORVEL_MINGW_PREFIX "${_deps}/prefix" CACHE PATH "Where build-windows-deps.sh installed the libraries")

set(CMAKE_FIND_ROOT_PATH /usr/${_triplet} ${KORVEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config reads only the prefix's .pc files, never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${KORVEL_MINGW_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
