# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix thread model, for
# std::thread), linked statically so that Vantle.exe imports only the system's DLLs. The
# Windows test programs run under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VANTLE_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VANTLE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTLE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTLE_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VANTLE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(VANTLE_WINE64 NAMES wine64 wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTLE_WINE64})

# Wide-character APIs only, for Windows 10 and later.
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00
                        WINVER=0x0A00)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
