# Install rules and the installer (cpack -G NSIS) for 64-bit Windows, cross-built with MinGW-w64.
# Everything goes into one folder: the two programs, the Qt and MinGW runtime DLLs, Qt's
# platform and style plugins, qt.conf, Qt's translations for the shipped languages, the shipped
# LANGUAGE folder and the licences. The same tree, with an empty MASTER and PROJECTS/Demo added,
# is the portable zip (scripts/windows-check.sh); without them it is an installed copy, which
# keeps its workspace in %LOCALAPPDATA%\Setforge (see core/app/workspacelocation.h).
if(NOT WIN32)
  return()
endif()

set(SETFORGE_WINDOWS_DIST ${PROJECT_SOURCE_DIR}/dist/windows)

install(TARGETS setforge-cli RUNTIME DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/workspace/LANGUAGE DESTINATION .
        FILES_MATCHING PATTERN "*.lng" PATTERN "*.bmp")

# The MinGW runtime of Debian's posix-thread compilers; the toolchain file keeps find_file in
# the MinGW sysroot, where the GCC runtime is not.
set(SETFORGE_MINGW_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  string(MAKE_C_IDENTIFIER ${dll} id)
  file(GLOB gcc_dirs /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
  find_file(SETFORGE_MINGW_${id} ${dll} PATHS ${gcc_dirs} /usr/x86_64-w64-mingw32/lib
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  list(APPEND SETFORGE_MINGW_DLLS ${SETFORGE_MINGW_${id}})
endforeach()
install(FILES ${SETFORGE_MINGW_DLLS} DESTINATION .)

# Licences: the program's, Qt's (Debian's record of qtbase and qtserialport, their bundled
# libraries included) and the MinGW runtime's. The Debian records come with the build machine's
# own Qt and MinGW packages, which are built from the same sources.
install(FILES ${PROJECT_SOURCE_DIR}/dist/linux/copyright DESTINATION licences RENAME Setforge.txt)
install(FILES ${SETFORGE_WINDOWS_DIST}/licences.txt DESTINATION licences RENAME README.txt)
foreach(pair "libqt6core6:Qt-qtbase.txt" "libqt6serialport6:Qt-qtserialport.txt"
             "gcc-mingw-w64-base:MinGW-GCC-runtime.txt" "mingw-w64-common:MinGW-w64.txt")
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 package)
  list(GET pair 1 name)
  set(record /usr/share/doc/${package}/copyright)
  if(NOT EXISTS ${record})
    message(FATAL_ERROR "${record} is missing: install Debian's ${package}")
  endif()
  install(FILES ${record} DESTINATION licences RENAME ${name})
endforeach()
foreach(text LGPL-3 GPL-3 GPL-2)
  install(FILES /usr/share/common-licenses/${text} DESTINATION licences RENAME ${text}.txt)
endforeach()

if(SETFORGE_BUILD_GUI)
  install(TARGETS setforge RUNTIME DESTINATION .)
  foreach(module Core Gui Widgets Network SerialPort)
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
  endforeach()
  install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
  install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
  # Plugins and translations beside the program, wherever the folder is moved to.
  install(FILES ${SETFORGE_WINDOWS_DIST}/qt.conf DESTINATION .)
  # Qt's own texts (standard buttons, file dialogs) for the shipped languages; the .qm files of
  # Debian's qt6-translations-l10n are the same on every platform.
  foreach(locale de fr it)
    set(qm /usr/share/qt6/translations/qtbase_${locale}.qm)
    if(NOT EXISTS ${qm})
      message(FATAL_ERROR "${qm} is missing: install Debian's qt6-translations-l10n")
    endif()
    install(FILES ${qm} DESTINATION translations)
  endforeach()
endif()

# The installer: Program Files\Setforge, a Start Menu entry "Setforge", an uninstaller and an
# entry in Add/Remove Programs. The uninstaller removes the installed files only, so the
# user's workspace in %LOCALAPPDATA%\Setforge stays.
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Setforge)
set(CPACK_PACKAGE_VENDOR Telvora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configurator of the CANopen / Modbus Slave converter KX40917")
set(CPACK_PACKAGE_FILE_NAME setforge-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Setforge)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Setforge)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Setforge)
set(CPACK_NSIS_DISPLAY_NAME Setforge)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME setforge.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_URL_INFO_ABOUT "http://${SETFORGE_MAKER_HOST}/HOME/default.asp?frompg=KX40917")
set(CPACK_NSIS_CONTACT "Telvora <info@telvora.example>")
set(CPACK_STRIP_FILES ON)
if(SETFORGE_BUILD_GUI)
  set(CPACK_PACKAGE_EXECUTABLES setforge Setforge)
endif()
include(CPack)
