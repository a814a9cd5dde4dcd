# The Windows packages: a portable zip and an NSIS installer (scripts/windows/build.sh).
# Both carry what the program loads at run time: Qt's DLLs and plugins, the mingw runtime, and
# Qt's Japanese texts (the same Qt version's, from the build machine's Qt).
set(qt_prefix "${QT_MINGW_PREFIX}")
install(TARGETS tarnwick RUNTIME DESTINATION . COMPONENT program)
# The plugins Qt loads at run time, which no import table names: the platforms (the offscreen one
# too: a batch where no desktop can be seen, a service, runs on it), the native style, and the
# reader of the program's .ico icon. Each goes into the folder of its type, where Qt looks for it.
set(plugins Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin Qt6::QWindowsVistaStylePlugin Qt6::QICOPlugin)
set(plugin_files)
foreach(plugin IN LISTS plugins)
  get_target_property(plugin_type ${plugin} QT_PLUGIN_TYPE)
  install(IMPORTED_RUNTIME_ARTIFACTS ${plugin} LIBRARY DESTINATION ${plugin_type} COMPONENT program)
  list(APPEND plugin_files "$<TARGET_FILE:${plugin}>")
endforeach()
# The window's module too: the program loads it itself, and only it links Qt Gui and Qt Widgets.
if(TARGET tarnwick_window_module)
  list(APPEND plugin_files "$<TARGET_FILE:tarnwick_window_module>")
endif()
# The DLLs the program, its window's module and those plugins load (Qt's and the compiler's
# runtime), read from their import tables when the package is made.
install(CODE "
  set(tarnwick_runtime_executables \"$<TARGET_FILE:tarnwick>\")
  set(tarnwick_runtime_modules \"${plugin_files}\")
  set(tarnwick_runtime_folder \"${qt_prefix}/bin\")
  set(tarnwick_runtime_destination .)
  include(\"${PROJECT_SOURCE_DIR}/cmake/WindowsRuntime.cmake\")"
  COMPONENT program)
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
