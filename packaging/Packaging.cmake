# SPDX-License-Identifier: GPL-3.0-or-later
# Desktop integration and the Debian package.
include(GNUInstallDirs)
set(ORVANTA_APP_ID org.example.orvanta)
configure_file(${PROJECT_SOURCE_DIR}/packaging/${ORVANTA_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${ORVANTA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${ORVANTA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/${ORVANTA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/assets/icon-256.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME ${ORVANTA_APP_ID}.png)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvanta)
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
set(CPACK_STRIP_FILES ON)
# The libraries the program links come from dpkg-shlibdeps; the platform plugins and the
# font it draws with are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_PACKAGE_DESCRIPTION "Two stars orbit their common centre of mass. Enter their masses, radii and
light, the orbit's size, eccentricity and orientation; the program shows both
stars as coloured discs and draws the light curve of one whole period, with
spectral-type presets and mouse drags that turn the orbit.")
include(CPack)

# The metadata as software centres and menus read it: their validators must say nothing.
if(ORVANTA_TESTS)
    find_program(APPSTREAMCLI appstreamcli)
    find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
    add_test(NAME Packaging.MetadataValidates
             COMMAND ${CMAKE_COMMAND} -DAPPSTREAMCLI=${APPSTREAMCLI}
                     -DDESKTOP_FILE_VALIDATE=${DESKTOP_FILE_VALIDATE}
                     -DMETAINFO=${PROJECT_BINARY_DIR}/${ORVANTA_APP_ID}.metainfo.xml
                     -DDESKTOP=${PROJECT_SOURCE_DIR}/packaging/${ORVANTA_APP_ID}.desktop
                     -P ${PROJECT_SOURCE_DIR}/packaging/validate_metadata.cmake)
endif()
