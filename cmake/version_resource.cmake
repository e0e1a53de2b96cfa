# Version resources of the Windows programs. The version is the project's, with the build
# number as its fourth part: -DSETUP_BUILD_NUMBER=N (0 for a developer's build).
set(SETUP_BUILD_NUMBER 0 CACHE STRING "Build number: the fourth part of the programs' version")
set(SETUP_VERSION_DOTS
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${SETUP_BUILD_NUMBER}")
string(REPLACE "." "," SETUP_VERSION_COMMAS "${SETUP_VERSION_DOTS}")

# Gives a program target its version resource: the file name it ships under and what it is.
function(add_version_resource target file_name description)
  if(NOT WIN32)
    return()
  endif()
  set(VERSION_FILE_NAME ${file_name})
  get_filename_component(VERSION_INTERNAL_NAME ${file_name} NAME_WE)
  set(VERSION_DESCRIPTION ${description})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
