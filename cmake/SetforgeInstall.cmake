# Install rules and the Debian package (cpack -G DEB) for Linux: the two programs, the shipped
# languages, the desktop entry, icon, AppStream metadata, manual pages and bash completion.
# The shipped data lies at the same place relative to bin/ in an installed tree and in an
# unpacked package, which is how the program finds it (see core/app/workspacelocation.h).
if(NOT UNIX OR APPLE)
  return()
endif()

include(GNUInstallDirs)
set(SETFORGE_APP_ID "example.telvora.Setforge")
set(SETFORGE_DIST ${PROJECT_SOURCE_DIR}/dist/linux)
set(SETFORGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/setforge)

install(TARGETS setforge-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(SETFORGE_BUILD_GUI)
  install(TARGETS setforge RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  target_compile_definitions(setforge PRIVATE SETFORGE_APP_ID="${SETFORGE_APP_ID}")
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/workspace/LANGUAGE DESTINATION ${CMAKE_INSTALL_DATADIR}/setforge
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        FILES_MATCHING PATTERN "*.lng" PATTERN "*.bmp")
install(FILES ${SETFORGE_DIST}/${SETFORGE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SETFORGE_DIST}/${SETFORGE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${SETFORGE_DIST}/icons/${SETFORGE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 256)
  install(FILES ${SETFORGE_DIST}/icons/${SETFORGE_APP_ID}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${SETFORGE_APP_ID}.png)
endforeach()
install(FILES ${SETFORGE_DIST}/setforge-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME setforge-cli)
install(FILES ${SETFORGE_DIST}/copyright DESTINATION ${SETFORGE_DOCDIR})

# Manual pages and the changelog are installed compressed, without a time stamp in the gzip
# header, so the package is the same from build to build.
set(SETFORGE_GZIPPED)
foreach(source setforge-cli.1 setforge.1 changelog)
  set(target ${PROJECT_BINARY_DIR}/dist/${source}.gz)
  add_custom_command(OUTPUT ${target}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/dist
    COMMAND gzip -9 -n -c ${SETFORGE_DIST}/${source} > ${target}
    DEPENDS ${SETFORGE_DIST}/${source} VERBATIM)
  list(APPEND SETFORGE_GZIPPED ${target})
endforeach()
add_custom_target(setforge_dist_files ALL DEPENDS ${SETFORGE_GZIPPED})
install(FILES ${PROJECT_BINARY_DIR}/dist/setforge-cli.1.gz ${PROJECT_BINARY_DIR}/dist/setforge.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/dist/changelog.gz DESTINATION ${SETFORGE_DOCDIR})

# The Debian package. Dependencies come from the binaries (dpkg-shlibdeps); the icon cache and
# the menu are refreshed by the triggers of hicolor-icon-theme and desktop-file-utils, so the
# package needs no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME setforge)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Telvora)
set(CPACK_PACKAGE_CONTACT "Telvora <info@telvora.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (standard buttons, file dialogs) follow the chosen language with its translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "iputils-ping, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://${SETFORGE_MAKER_HOST}/HOME/default.asp?frompg=KX40917")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurator of the CANopen / Modbus Slave converter KX40917")
# Lines of the extended description; CPack indents each for the control file.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Setforge leads a commissioning engineer through the configuration of the"
  "CANopen / Modbus Slave - Converter: communication parameters, SDO accesses,"
  "emergencies, receive and transmit PDOs with their mapping onto Modbus"
  "registers, and node guarding. It checks every table, compiles the device's"
  "configuration images, writes its EDS file and hands the images to the"
  "device's updater. The command-line tool setforge-cli does the same from"
  "scripts.")
include(CPack)
