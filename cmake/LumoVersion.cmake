# Version resources: every program and library a user gets carries the
# project's version, company and product name, from one template.

set(LUMO_COMPANY "VEMLO")
set(LUMO_PRODUCT "Lumo PC suite")

# lumo_version_resource(target "description"): adds the version resource to a
# Windows program or DLL.
function(lumo_version_resource target description)
  if(NOT LUMO_WINDOWS)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(LUMO_VERSION_FILETYPE VFT_APP)
    set(LUMO_VERSION_FILE ${target}.exe)
  else()
    set(LUMO_VERSION_FILETYPE VFT_DLL)
    set(LUMO_VERSION_FILE ${target}.dll)
  endif()
  set(LUMO_VERSION_NAME ${target})
  set(LUMO_VERSION_DESCRIPTION "${description}")
  set(LUMO_VERSION_DOTS "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  set(LUMO_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
