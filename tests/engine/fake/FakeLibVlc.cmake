# scenora_add_fake_libvlc(<name> VERSION "<text>" [GROUPS <group>...] [OMIT <entry>...])
#
# Builds a fake libvlc.so.5 in its own folder (FakeLibVlc::dir("<name>") in the
# tests) whose libvlc_get_version returns <text>. It exports
# libvlc_get_version and the entry points of the given groups of
# src/engine/VlcEntryList.h (Base, V1_1_0, V1_1_1, V1_1_5, V2_0_0, V2_1_0,
# V2_2_0; all of them when GROUPS is left out), except those named in OMIT.
# Every call is recorded; tests read the record through FakeLibVlc.h, which
# the target scenora_fake_libvlc_reader provides.

set(SCENORA_FAKE_LIBVLC_ROOT ${CMAKE_BINARY_DIR}/fake-libvlc)
set(SCENORA_FAKE_LIBVLC_LIST ${PROJECT_SOURCE_DIR}/src/engine/VlcEntryList.h)
set(SCENORA_FAKE_LIBVLC_SOURCE ${CMAKE_CURRENT_LIST_DIR}/FakeLibVlc.cpp)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SCENORA_FAKE_LIBVLC_LIST})

add_library(scenora_fake_libvlc_reader STATIC ${CMAKE_CURRENT_LIST_DIR}/FakeLibVlc_Reader.cpp)
target_include_directories(scenora_fake_libvlc_reader PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(scenora_fake_libvlc_reader PRIVATE SCENORA_FAKE_LIBVLC_ROOT="${SCENORA_FAKE_LIBVLC_ROOT}")
target_link_libraries(scenora_fake_libvlc_reader PUBLIC Qt6::Core Qt6::Test ${CMAKE_DL_LIBS})

# The entry points are compiled once; each fake adds only its version text.
add_library(scenora_fake_libvlc_objects OBJECT ${SCENORA_FAKE_LIBVLC_SOURCE})
target_include_directories(scenora_fake_libvlc_objects PRIVATE ${PROJECT_SOURCE_DIR}/src ${LIBVLC_INCLUDE_DIR})
set_target_properties(scenora_fake_libvlc_objects PROPERTIES POSITION_INDEPENDENT_CODE ON)

function(scenora_add_fake_libvlc name)
  cmake_parse_arguments(F "" "VERSION" "GROUPS;OMIT" ${ARGN})
  if(NOT DEFINED F_VERSION)
    message(FATAL_ERROR "scenora_add_fake_libvlc(${name}): VERSION is required")
  endif()
  if(NOT F_GROUPS)
    set(F_GROUPS Base V1_1_0 V1_1_1 V1_1_5 V2_0_0 V2_1_0 V2_2_0)
  endif()

  # One row per entry point; the line continuations go first, as CMake lists
  # would take a trailing backslash for an escape.
  file(READ ${SCENORA_FAKE_LIBVLC_LIST} list_text)
  string(REPLACE "\\" "" list_text "${list_text}")
  string(REGEX MATCHALL "\n *X\\([^\n]*" rows "${list_text}")
  set(exports "")
  foreach(row IN LISTS rows)
    if(NOT row MATCHES "^\n *X\\([^,]+, (libvlc_[a-z0-9_]+), .*, ([A-Za-z0-9_]+), [A-Za-z]+\\) *$")
      message(FATAL_ERROR "scenora_add_fake_libvlc: cannot read the row: ${row}")
    endif()
    set(entry ${CMAKE_MATCH_1})
    set(group ${CMAKE_MATCH_2})
    if((group STREQUAL "Version" OR group IN_LIST F_GROUPS) AND NOT entry IN_LIST F_OMIT)
      string(APPEND exports "    ${entry};\n")
    endif()
  endforeach()
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${name}.map)
  file(WRITE ${map} "{\n  global:\n${exports}    scenora_fake_libvlc_calls;\n    scenora_fake_libvlc_clear_calls;\n  local: *;\n};\n")

  set(version_source ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.cpp)
  file(CONFIGURE OUTPUT ${version_source} CONTENT
    "extern const char* const scenoraFakeVersion;\nconst char* const scenoraFakeVersion = \"@F_VERSION@\";\n" @ONLY)

  add_library(${name} SHARED ${version_source} $<TARGET_OBJECTS:scenora_fake_libvlc_objects>)
  target_link_options(${name} PRIVATE "-Wl,--version-script=${map}")
  # No soname: a fake must never stand in for the installed libvlc.so.5 when
  # that one is opened by name.
  set_target_properties(${name} PROPERTIES
    PREFIX "lib"
    OUTPUT_NAME "vlc"
    SUFFIX ".so.5"
    NO_SONAME ON
    LINK_DEPENDS ${map}
    LIBRARY_OUTPUT_DIRECTORY ${SCENORA_FAKE_LIBVLC_ROOT}/${name})
endfunction()
