# The Windows packages: a portable zip and an NSIS installer (scripts/windows/build.sh).
# Both carry what the program loads at run time: Qt's DLLs and plugins, the mingw runtime, and
# Qt's Japanese texts (the same Qt version's, from the build machine's Qt).
set(qt_prefix "${QT_MINGW_PREFIX}")
install(TARGETS tarnwick RUNTIME DESTINATION . COMPONENT program)
install(FILES
  ${qt_prefix}/bin/Qt6Core.dll ${qt_prefix}/bin/Qt6Gui.dll ${qt_prefix}/bin/Qt6Widgets.dll
  ${qt_prefix}/bin/libgcc_s_seh-1.dll ${qt_prefix}/bin/libstdc++-6.dll ${qt_prefix}/bin/libwinpthread-1.dll
  DESTINATION . COMPONENT program)
# The offscreen platform too: a batch where no desktop can be seen (a service) runs on it.
install(FILES ${qt_prefix}/plugins/platforms/qwindows.dll ${qt_prefix}/plugins/platforms/qoffscreen.dll DESTINATION platforms COMPONENT program)
install(FILES ${qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles COMPONENT program)
install(FILES ${qt_prefix}/plugins/imageformats/qico.dll DESTINATION imageformats COMPONENT program)
find_file(TARNWICK_QTBASE_JA qtbase_ja.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH REQUIRED)
install(FILES ${TARNWICK_QTBASE_JA} DESTINATION translations COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . COMPONENT program)
# Qt's paths (its translations) relative to the program's folder, wherever it is unpacked.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/qt.conf "[Paths]\r\nPrefix=.\r\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qt.conf DESTINATION . COMPONENT program)
# The portable layout: a profile beside the program keeps the settings and the temporary file there.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/Tarnwick.ini "[Tarnwick]\r\nFileExt=txt\r\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/Tarnwick.ini DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)

set(CPACK_PACKAGE_NAME Tarnwick)
set(CPACK_PACKAGE_VENDOR "The Tarnwick developers")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tarnwick)
set(CPACK_PACKAGE_FILE_NAME tarnwick-${PROJECT_VERSION}-windows-x64)
set(CPACK_COMPONENTS_ALL program)
set(CPACK_PACKAGE_EXECUTABLES tarnwick Tarnwick)
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Tarnwick)
set(CPACK_NSIS_DISPLAY_NAME Tarnwick)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/startup/tarnwick.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME tarnwick.exe)
# Files sent to Tarnwick from Explorer's "Send to" menu are converted as a batch.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "CreateShortCut \\\"$SENDTO\\\\Tarnwick.lnk\\\" \\\"$INSTDIR\\\\tarnwick.exe\\\"")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "Delete \\\"$SENDTO\\\\Tarnwick.lnk\\\"")
# The zip (made with CPACK_COMPONENTS_ALL "program;portable" and a top-level folder, see
# scripts/windows/build.sh) holds both in one folder.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
include(CPack)
