# SPDX-License-Identifier: GPL-3.0-or-later
# Fails unless appstreamcli (pedantic, no network) and desktop-file-validate accept the
# metainfo and the desktop entry without a single remark.
foreach(tool APPSTREAMCLI DESKTOP_FILE_VALIDATE)
    if(NOT ${tool})
        message(FATAL_ERROR "${tool} not found: scripts/install-deps installs it")
    endif()
endforeach()
execute_process(COMMAND ${APPSTREAMCLI} validate --pedantic --no-net --no-color ${METAINFO}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
# appstreamcli closes a clean run with its one-line verdict and nothing else.
string(STRIP "${out}" out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^[^\n]*Validation was successful\\.$")
    message(FATAL_ERROR "appstreamcli validate --pedantic ${METAINFO}:\n${out}")
endif()
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${DESKTOP}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate ${DESKTOP}:\n${out}")
endif()
