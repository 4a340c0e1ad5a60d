# Cross-compiling the Windows program with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
# The -posix compilers: the win32-threads ones lack std::mutex and std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DURMIVELA_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${DURMIVELA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DURMIVELA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${DURMIVELA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DURMIVELA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: no libstdc++, libgcc or winpthread DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows programs built here run under Wine, in the build folder's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
