# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix). Programs are
# linked statically, so they need no MinGW DLLs at run time, and tests run under Wine (wine.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZORBY_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZORBY_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZORBY_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZORBY_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZORBY_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each function and object in a section of its own, so that the linker drops what nothing uses; no time
# stamp in the PE header, so that the same sources link to the same bytes.
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections -Wl,--no-insert-timestamp")

# Every program of the build runs in the build's own Wine prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine.sh ${CMAKE_BINARY_DIR}/wine-prefix)
