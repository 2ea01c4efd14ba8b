# Build conventions shared by every module: warnings, sanitizers, GoogleTest,
# the Wine test harness and helpers that declare libraries, DLLs and tests.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(LUMO_WINDOWS ON)
else()
  set(LUMO_WINDOWS OFF)
endif()
include(LumoVersion)

add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
if(LUMO_WINDOWS)
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX WIN32_LEAN_AND_MEAN)
endif()

option(LUMO_SANITIZE "Build with AddressSanitizer and UBSan" OFF)
if(LUMO_SANITIZE AND NOT LUMO_WINDOWS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Tests that bind the camera's fixed ports (6220 to 6223, 80) share this lock.
set(LUMO_CAMERA_PORTS_LOCK camera_ports)

if(BUILD_TESTING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources missing: install Debian's googletest package")
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
endif()

# The 32-bit build runs only the tests marked STAGE32, under 32-bit Wine.
if(LUMO_WINDOWS AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(LUMO_STAGE32 ON)
  set(lumo_wine_bits --32)
else()
  set(LUMO_STAGE32 OFF)
  set(lumo_wine_bits)
endif()

# The whole set of Windows tests, built by the win64 tree only.
if(LUMO_WINDOWS AND BUILD_TESTING AND NOT LUMO_STAGE32)
  set(LUMO_WINDOWS_TESTS ON)
else()
  set(LUMO_WINDOWS_TESTS OFF)
endif()

if(LUMO_WINDOWS AND BUILD_TESTING)
  # Every Windows test executable runs through the Wine wrapper, with the
  # prefix and display kept in this build tree.
  set(LUMO_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run ${lumo_wine_bits} ${LUMO_WINE_STATE})
  add_test(NAME wine_session_start
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-session start ${lumo_wine_bits} ${LUMO_WINE_STATE})
  add_test(NAME wine_session_stop
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-session stop ${lumo_wine_bits} ${LUMO_WINE_STATE})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 400)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
endif()

# A library of portable code (no windows.h), built for every target. Its
# headers are included from its folder, or with ROOT from that folder: a
# module in rooms names the room in its includes ("core/camera_item.h").
function(lumo_portable_library name)
  cmake_parse_arguments(P "" "ROOT" "" ${ARGN})
  if(NOT P_ROOT)
    set(P_ROOT ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  add_library(${name} STATIC ${P_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${P_ROOT} ${CMAKE_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

# A Windows DLL exported through a .def file: names stay undecorated on win32
# (--kill-at) and the ordinals are those the file gives.
function(lumo_windows_dll name def)
  add_library(${name} SHARED ${ARGN} ${def})
  set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "" IMPORT_SUFFIX ".lib.a")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${name} PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup)
    # The linker's import library would name the undecorated exports; made
    # from a .def with decorated names it matches 32-bit stdcall callers.
    get_filename_component(def_path ${def} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${LUMO_MINGW_TRIPLE}-dlltool --kill-at -D $<TARGET_FILE_NAME:${name}>
              -d ${def_path} -l $<TARGET_LINKER_FILE:${name}>)
  endif()
endfunction()

# lumo_japanese_test(TEST TIMEOUT s [LOCKS ...] [ENVIRONMENT ...]): the
# Windows test TEST run again on a Japanese system (code page 932), in the
# Japanese prefix the Japanese runs share, as TEST with "_test" made
# "_japanese_test".
function(lumo_japanese_test test)
  cmake_parse_arguments(J "" "TIMEOUT" "LOCKS;ENVIRONMENT" ${ARGN})
  if(NOT LUMO_WINDOWS_TESTS)
    return()
  endif()
  string(REGEX REPLACE "_test$" "_japanese_test" name ${test})
  add_test(NAME ${name}
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run ${CMAKE_BINARY_DIR}/wine-japanese $<TARGET_FILE:${test}>
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "LANG=ja_JP.UTF-8;LC_ALL=ja_JP.UTF-8;DISPLAY=;${J_ENVIRONMENT}"
                       TIMEOUT ${J_TIMEOUT} RESOURCE_LOCK "wine_japanese;${J_LOCKS}")
endfunction()

# lumo_test(NAME name SOURCES ... [LIBS ...] [DEPENDS ...] [PORTS] [TIMEOUT s] [WINDOWS|NATIVE]
#           [STAGE32 gtest-filter])
# NATIVE tests run on the host (with sanitizers in the native preset);
# WINDOWS tests run under Wine in the win64 build. PORTS marks tests that bind
# the camera's fixed ports. STAGE32 tests also run in the 32-bit build, under
# 32-bit Wine, with the cases the filter selects; each Wine process costs
# about a minute there, so only what a 32-bit run proves is chosen.
function(lumo_test)
  cmake_parse_arguments(T "PORTS;WINDOWS;NATIVE" "NAME;TIMEOUT;STAGE32" "SOURCES;LIBS;DEPENDS" ${ARGN})
  if(NOT BUILD_TESTING)
    return()
  endif()
  if(LUMO_STAGE32)
    if(NOT T_STAGE32)
      return()
    endif()
  elseif((T_WINDOWS AND NOT LUMO_WINDOWS) OR (T_NATIVE AND LUMO_WINDOWS))
    return()
  endif()
  if(LUMO_STAGE32)
    set(T_TIMEOUT 900)
  elseif(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR})
  if(T_DEPENDS)
    add_dependencies(${T_NAME} ${T_DEPENDS})
  endif()
  set(props TIMEOUT ${T_TIMEOUT})
  if(T_PORTS)
    # The label lets the test command run the other tests beside another build's.
    list(APPEND props RESOURCE_LOCK ${LUMO_CAMERA_PORTS_LOCK} LABELS ${LUMO_CAMERA_PORTS_LOCK})
  endif()
  # wine-run ends a Windows test a little before CTest would, so that its
  # output and a picture of the display are kept.
  math(EXPR time_limit "${T_TIMEOUT} - 20")
  if(LUMO_STAGE32)
    # Emulated Wine starts programs slowly: LUMO_EMULATED tells the tests to
    # start the peers they need first and wait for them.
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} --gtest_filter=${T_STAGE32} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine_session
                         ENVIRONMENT "LUMO_EMULATED=1;LUMO_TIME_LIMIT=${time_limit}" ${props})
  elseif(LUMO_WINDOWS)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine_session ENVIRONMENT LUMO_TIME_LIMIT=${time_limit}
                         ${props})
  else()
    gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST
                         WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin PROPERTIES ${props})
  endif()
endfunction()
