# SPDX-License-Identifier: GPL-3.0-or-later
# Desktop integration and the Debian package.
include(GNUInstallDirs)
set(ORVANTA_APP_ID org.example.orvanta)
# Who makes it: appstream 1.0 reads <developer> and calls <developer_name> deprecated, 0.16
# knows only <developer_name>; the metainfo is written for the validator of the release it
# is built on (no appstreamcli: the newer form).
set(ORVANTA_METAINFO_DEVELOPER
    "<developer id=\"org.example\">\n    <name>The Orvanta project</name>\n  </developer>")
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
    execute_process(COMMAND ${APPSTREAMCLI} --version OUTPUT_VARIABLE appstream_version
                    ERROR_QUIET)
    if(appstream_version MATCHES "version:? *0\\.")
        set(ORVANTA_METAINFO_DEVELOPER "<developer_name>The Orvanta project</developer_name>")
    endif()
endif()
configure_file(${PROJECT_SOURCE_DIR}/packaging/${ORVANTA_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${ORVANTA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${ORVANTA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/${ORVANTA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The icon at the sizes menus and docks ask for (assets/make-pictures draws them).
foreach(size 16 22 24 32 48 64 128 256 512)
    install(FILES ${PROJECT_SOURCE_DIR}/assets/icon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${ORVANTA_APP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The manual page and the release notes, compressed as Debian keeps them (no time stamp,
# so the package is the same whenever it is built).
find_program(GZIP gzip REQUIRED)
foreach(source orvanta.1 changelog)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${source}.gz
                       COMMAND sh -c "${GZIP} -9 -n -c \"$1\" > \"$2\"" sh
                               ${PROJECT_SOURCE_DIR}/packaging/${source}
                               ${PROJECT_BINARY_DIR}/${source}.gz
                       DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${source} VERBATIM)
    list(APPEND packed_docs ${PROJECT_BINARY_DIR}/${source}.gz)
endforeach()
add_custom_target(orvanta_packed_docs ALL DEPENDS ${packed_docs})
install(FILES ${PROJECT_BINARY_DIR}/orvanta.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
# What lintian should not report, each with its reason.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME orvanta)
# The lessons and their pictures, beside the README the credits point to.
install(FILES ${PROJECT_SOURCE_DIR}/docs/LESSONS.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/lessons DESTINATION ${CMAKE_INSTALL_DOCDIR}
        FILES_MATCHING PATTERN "*.png")
# The teaching light curves, for Ctrl+O, and the twins' radial velocities.
install(FILES ${PROJECT_SOURCE_DIR}/data/algol.txt ${PROJECT_SOURCE_DIR}/data/twins.csv
              ${PROJECT_SOURCE_DIR}/data/eccentric.txt ${PROJECT_SOURCE_DIR}/data/twins_rv.csv
        DESTINATION ${CMAKE_INSTALL_DATADIR}/orvanta/data)
# The About box points here for the keyboard commands.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME "orvanta")
set(CPACK_PACKAGE_VENDOR "The Orvanta project")
set(CPACK_PACKAGE_CONTACT "The Orvanta project <orvanta@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Eclipsing binary star teaching simulation")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/orvanta")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/strip_comments.cmake)
set(CPACK_ORVANTA_STRIP ${CMAKE_STRIP})
# The libraries the program links come from dpkg-shlibdeps (Qt Charts, for the analysis
# panel, among them: libqt6charts6); the platform plugins and the
# fonts it draws with (the labels in DejaVu Sans Condensed, from fonts-dejavu-extra) are
# loaded at run time, so they are named here. The Wayland plugin serves a Wayland session;
# without it the window shows through X11.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_PACKAGE_DESCRIPTION "Two stars orbit their common centre of mass. Enter their masses, radii and
light, the orbit's size, eccentricity and orientation; the program shows both
stars as coloured discs and draws the light curve of one whole period, with
spectral-type presets and mouse drags that turn the orbit.")
include(CPack)

# The metadata as software centres and menus read it: their validators must say nothing.
if(ORVANTA_TESTS)
    find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
    add_test(NAME Packaging.MetadataValidates
             COMMAND ${CMAKE_COMMAND} -DAPPSTREAMCLI=${APPSTREAMCLI}
                     -DDESKTOP_FILE_VALIDATE=${DESKTOP_FILE_VALIDATE}
                     -DMETAINFO=${PROJECT_BINARY_DIR}/${ORVANTA_APP_ID}.metainfo.xml
                     -DDESKTOP=${PROJECT_SOURCE_DIR}/packaging/${ORVANTA_APP_ID}.desktop
                     -P ${PROJECT_SOURCE_DIR}/packaging/validate_metadata.cmake)
    # The manual page names every option that --help names, and nothing more.
    add_test(NAME Packaging.ManualPageMatchesHelp
             COMMAND ${CMAKE_COMMAND} -DORVANTA=$<TARGET_FILE:orvanta>
                     -DMANUAL=${PROJECT_SOURCE_DIR}/packaging/orvanta.1
                     -P ${PROJECT_SOURCE_DIR}/packaging/check_manual.cmake)
endif()
