# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack once the package's files are in place and stripped (CPACK_PRE_BUILD_SCRIPTS): every
# ELF file also loses the compiler's .comment and the .note section, as Debian's own packages'
# programs do.
file(GLOB_RECURSE files LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file IN LISTS files)
    file(READ ${file} magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46" AND NOT IS_SYMLINK ${file})
        execute_process(COMMAND ${CPACK_QNCF_STRIP} --remove-section=.comment --remove-section=.note ${file}
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
