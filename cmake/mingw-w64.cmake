# SPDX-License-Identifier: GPL-3.0-or-later
# Cross compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, as the Qt SDK was
# built). The Qt SDK for Windows is found under QNCF_WINDOWS_SDK (a cache variable, or the
# environment variable of that name); scripts/windows-sdk says where it is.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QNCF_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QNCF_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QNCF_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${QNCF_MINGW}-windres)

if(NOT QNCF_WINDOWS_SDK AND DEFINED ENV{QNCF_WINDOWS_SDK})
    set(QNCF_WINDOWS_SDK $ENV{QNCF_WINDOWS_SDK})
endif()
# The checks CMake compiles in scratch projects read this file again: they need the SDK too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QNCF_WINDOWS_SDK)

set(CMAKE_FIND_ROOT_PATH /usr/${QNCF_MINGW} ${QNCF_WINDOWS_SDK})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
