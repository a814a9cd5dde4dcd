# Install-time script (cmake/WindowsPackages.cmake runs it): installs into the package the DLLs
# that the program and its Qt plugins load, as their import tables name them, found among the
# DLLs of the Windows Qt's bin folder (Qt's own and the compiler's runtime it was built with, the
# same as the program's). The others are Windows's own, which the build machine has none of.
#
# In: tarnwick_runtime_executables, tarnwick_runtime_modules (the files whose DLLs are wanted),
# tarnwick_runtime_folder (Qt's bin folder), tarnwick_runtime_destination (beside the program).
#
# file(GET_RUNTIME_DEPENDENCIES) could look the DLLs up in Qt's folder itself, but it looks for
# their names lowercased (as Windows matches them), which a Linux file system does not find:
# Qt6Core.dll is no qt6core.dll. So the names come back unresolved, are matched here without
# regard to case, and the DLLs found are read in turn for theirs.

# Run by cmake_install.cmake, which sets no policies: this script's own.
cmake_policy(PUSH)
cmake_policy(VERSION 3.25)

# The files are Windows PE files, read with the cross objdump (CMAKE_OBJDUMP, which
# cmake_install.cmake sets), not the build machine's ELF files.
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)

file(GLOB folder_dlls "${tarnwick_runtime_folder}/*.dll")
set(known_names)
foreach(dll IN LISTS folder_dlls)
  get_filename_component(name "${dll}" NAME)
  string(TOLOWER "${name}" name)
  list(APPEND known_names "${name}")
endforeach()
# Only Qt's folder's names are looked up; Windows's own are left out before they are.
set(include_regexes)
foreach(name IN LISTS known_names)
  string(REGEX REPLACE "([.+])" "\\\\\\1" name "${name}")
  list(APPEND include_regexes "^${name}$")
endforeach()

set(found)
set(libraries)
while(TRUE)
  file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${tarnwick_runtime_executables}
    MODULES ${tarnwick_runtime_modules}
    LIBRARIES ${libraries}
    PRE_INCLUDE_REGEXES ${include_regexes}
    PRE_EXCLUDE_REGEXES ".*"
    RESOLVED_DEPENDENCIES_VAR resolved
    UNRESOLVED_DEPENDENCIES_VAR unresolved)
  set(new)
  foreach(dependency IN LISTS resolved unresolved)
    get_filename_component(name "${dependency}" NAME)
    string(TOLOWER "${name}" name)
    list(FIND known_names "${name}" index)
    if(index EQUAL -1)
      message(FATAL_ERROR "A DLL the program loads is not in ${tarnwick_runtime_folder}: ${name}")
    endif()
    list(GET folder_dlls ${index} dll)
    if(NOT dll IN_LIST found)
      list(APPEND found "${dll}")
      list(APPEND new "${dll}")
    endif()
  endforeach()
  if(NOT new)
    break()
  endif()
  set(libraries ${found})
endwhile()

file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${tarnwick_runtime_destination}" TYPE SHARED_LIBRARY FILES ${found})

cmake_policy(POP)
