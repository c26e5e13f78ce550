# SPDX-License-Identifier: GPL-3.0-or-later
# The distribution's hardening on every Linux build: the stack protector, the fortified libc
# calls, format-string checks, and relocations made read-only and bound at start. The flags are
# what dpkg-buildflags adds with hardening=+all over hardening=-all, so they follow Debian's own
# choice and leave the optimisation and debug flags to the build type.
#
# Not with the sanitizers: a fortified call (__fgets_chk, __read_chk) passes AddressSanitizer's
# watch on the plain one by, and an overflow there ends in glibc's bare abort instead of ASan's
# report. Nor for Windows, whose linker takes none of these. The fortified calls need the
# optimiser, so a Debug build goes without them.
option(QNCF_HARDENING "Build with the hardening flags of dpkg-buildflags (Linux)" ON)
if(NOT QNCF_HARDENING OR QNCF_SANITIZE OR QNCF_FUZZ OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    return()
endif()
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
    message(WARNING "No dpkg-buildflags (package dpkg-dev): the programs are built without hardening")
    return()
endif()

# The flags of one kind (CPPFLAGS, CXXFLAGS, LDFLAGS) that hardening=+all adds.
function(qncf_hardening_flags kind out)
    foreach(setting on off)
        set(features -all)
        if(setting STREQUAL "on")
            set(features +all)
        endif()
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=${features}
                    ${DPKG_BUILDFLAGS} --get ${kind}
            OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(flags_${setting} UNIX_COMMAND "${flags}")
    endforeach()
    if(flags_off)
        list(REMOVE_ITEM flags_on ${flags_off})
    endif()
    set(${out} ${flags_on} PARENT_SCOPE)
endfunction()

qncf_hardening_flags(CPPFLAGS hardening_cpp)
qncf_hardening_flags(CXXFLAGS hardening_cxx)
qncf_hardening_flags(LDFLAGS hardening_ld)
add_compile_options("$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:${hardening_cpp}>" ${hardening_cxx})
add_link_options(${hardening_ld})
message(STATUS "Hardening: ${hardening_cpp} ${hardening_cxx} ${hardening_ld}")
# All of it, fortified calls included: the package test holds such a build to hardening-check.
if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
    set(QNCF_HARDENED ON)
endif()
