# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack before it packs: removes the compiler's .comment and .note sections from the
# programs, as Debian's own packaging does (CPack's strip keeps them).
foreach(program usr/bin/orvanta usr/libexec/orvanta/orvanta-window
                usr/libexec/orvanta/orvanta-analysis)
    file(GLOB_RECURSE found ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/${program}
         ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/${program})
    foreach(file ${found})
        execute_process(COMMAND ${CPACK_ORVANTA_STRIP} --remove-section=.comment --remove-section=.note
                                ${file} RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0)
            message(FATAL_ERROR "could not strip ${file}")
        endif()
    endforeach()
endforeach()
