# The Windows packages: a portable zip and an NSIS installer (scripts/windows/build.sh).
# Both carry what the program loads at run time: Qt's DLLs and plugins, the mingw runtime, and
# Qt's Japanese texts (the same Qt version's, from the build machine's Qt).
set(qt_prefix "${QT_MINGW_PREFIX}")
install(TARGETS tarnwick tarnwick_console RUNTIME DESTINATION . COMPONENT program)
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
  set(tarnwick_runtime_executables \"$<TARGET_FILE:tarnwick>;$<TARGET_FILE:tarnwick_console>\")
  set(tarnwick_runtime_modules \"${plugin_files}\")
  set(tarnwick_runtime_folder \"${qt_prefix}/bin\")
  set(tarnwick_runtime_destination .)
  include(\"${PROJECT_SOURCE_DIR}/cmake/WindowsRuntime.cmake\")"
  COMPONENT program)
find_file(TARNWICK_QTBASE_JA qtbase_ja.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH REQUIRED)
install(FILES ${TARNWICK_QTBASE_JA} DESTINATION translations COMPONENT program)

# The texts beside the program, as Notepad shows them right on every Windows: UTF-8 with a byte
# order mark, CR LF line ends. Made when the project is configured, and again whenever one of
# their sources changes: the guides (README.md and its Japanese README.ja.md), the program's
# licence in the words of the Debian package's copyright file, and the third-party notices with
# the GNU licences they name in full (Debian's copies).
string(ASCII 239 187 191 byte_order_mark)
function(tarnwick_notepad_text name text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name} "${byte_order_mark}${text}")
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name} DESTINATION . COMPONENT program)
endfunction()
function(tarnwick_read_source variable file)
  file(READ ${file} text)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()
tarnwick_read_source(readme ${PROJECT_SOURCE_DIR}/README.md)
tarnwick_notepad_text(README.txt "${readme}")
tarnwick_read_source(guide ${PROJECT_SOURCE_DIR}/README.ja.md)
tarnwick_notepad_text(README.ja.txt "${guide}")
# The licence: the copyright and the License paragraph of the copyright file's "Files: *".
tarnwick_read_source(copyright ${PROJECT_SOURCE_DIR}/packaging/copyright.in)
if(NOT copyright MATCHES "\nFiles: \\*\nCopyright: ([^\n]*)\nLicense: [^\n]*\n(( [^\n]*\n)+)")
  message(FATAL_ERROR "packaging/copyright.in: no licence of \"Files: *\" found")
endif()
set(holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE "(^|\n) \\.\n" "\\1\n" licence "${CMAKE_MATCH_2}")
string(REGEX REPLACE "(^|\n) " "\\1" licence "${licence}")
# One line a paragraph: the installer's licence page and Notepad wrap it to their width.
string(REGEX REPLACE "([^\n])\n([^\n])" "\\1 \\2" licence "${licence}")
tarnwick_notepad_text(LICENSE.txt "Tarnwick\n\nCopyright ${holder}\n\n${licence}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt)
# Where Debian's source of Qt can be had: the archive that this machine's apt takes Debian from
# (one-line or deb822 sources), named by no address of our own.
function(tarnwick_debian_archive variable)
  file(GLOB lists /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources)
  foreach(list ${lists})
    file(STRINGS ${list} lines)
    foreach(line ${lines})
      if(line MATCHES "^(URIs:|deb(-src)?( \\[[^]]*\\])?) +([^ ]*/debian)/?( |$)")
        set(${variable} ${CMAKE_MATCH_4} PARENT_SCOPE)
        return()
      endif()
    endforeach()
  endforeach()
  set(${variable} "" PARENT_SCOPE)
endfunction()
tarnwick_read_source(notices ${PROJECT_SOURCE_DIR}/packaging/windows/third-party-notices.txt)
tarnwick_debian_archive(archive)
if(archive)
  string(REPLACE "@QT_SOURCE_ARCHIVE@" ", or from\n${archive}/pool/main/q/qt6-base/" notices "${notices}")
else()
  string(REPLACE "@QT_SOURCE_ARCHIVE@" "" notices "${notices}")
endif()
foreach(name LGPL-3 GPL-3 GPL-2)
  find_file(TARNWICK_LICENCE_${name} ${name} PATHS /usr/share/common-licenses NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH REQUIRED)
  tarnwick_read_source(text ${TARNWICK_LICENCE_${name}})
  string(APPEND notices "\n\n========================================================================\n\n${text}")
endforeach()
tarnwick_notepad_text(THIRD-PARTY-NOTICES.txt "${notices}")
# Qt's paths (its translations) relative to the program's folder, wherever it is unpacked.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/qt.conf "[Paths]\r\nPrefix=.\r\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qt.conf DESTINATION . COMPONENT program)
# The portable layout: a profile beside the program keeps the settings and the temporary file
# there. The section alone: every setting is its default until it is changed.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/Tarnwick.ini "[Tarnwick]\r\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/Tarnwick.ini DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)

set(CPACK_PACKAGE_NAME Tarnwick)
set(CPACK_PACKAGE_VENDOR "The Tarnwick developers")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tarnwick)
set(CPACK_PACKAGE_FILE_NAME tarnwick-${PROJECT_VERSION}-windows-x64)
set(CPACK_COMPONENTS_ALL program)
# The installer (cmake/nsis/NSIS.template.in) names its components in Japanese; the program's
# is this one, the others (the Start menu, Send To, PATH) are the installer's own.
set(CPACK_COMPONENT_PROGRAM_DISPLAY_NAME "Tarnwick 本体")
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION "ログを変換するプログラムと Qt のライブラリ、説明書、使用許諾条件です。")
set(CPACK_COMPONENT_PROGRAM_REQUIRED ON)
set(CPACK_TARNWICK_PROGRAM tarnwick${CMAKE_EXECUTABLE_SUFFIX})
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)
set(CPACK_NSIS_PACKAGE_NAME Tarnwick)
set(CPACK_NSIS_DISPLAY_NAME Tarnwick)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/startup/tarnwick.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/src/startup/tarnwick.ico)
# The zip (made with CPACK_COMPONENTS_ALL "program;portable" and a top-level folder, see
# scripts/windows/build.sh) holds both in one folder.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
include(CPack)
