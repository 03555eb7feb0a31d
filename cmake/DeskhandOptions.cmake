# Compiler settings shared by every target of the project.

add_library(dh_options INTERFACE)
target_compile_options(dh_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
if(DESKHAND_WERROR)
  target_compile_options(dh_options INTERFACE -Werror)
endif()

# A compiler cache passes over every file built with a precompiled header (unless it is told to
# be sloppy about them), so a build through a launcher goes without them.
if(CMAKE_CXX_COMPILER_LAUNCHER AND NOT DEFINED CMAKE_DISABLE_PRECOMPILE_HEADERS)
  set(CMAKE_DISABLE_PRECOMPILE_HEADERS ON)
endif()

if(DESKHAND_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(DESKHAND_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "DESKHAND_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  # Every library is instrumented for coverage; only the fuzz targets link the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# dh_add_library(name SOURCES ... [LIBS ...]): one static library per folder, warnings on.
function(dh_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE dh_options)
endfunction()

# dh_add_test(name SOURCES ... [LIBS ...] [PROPERTIES ...]): one GoogleTest executable, each of
# its tests registered with CTest (with the given test properties).
function(dh_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} dh_testsupport GTest::gmock GTest::gtest dh_options)
  # The test main selects the offscreen platform; fixtures find the source tree through this.
  target_compile_definitions(${name} PRIVATE DESKHAND_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_precompile_headers(${name} REUSE_FROM dh_testsupport)
  if(ARG_PROPERTIES)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${ARG_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# dh_add_fuzzer(name SOURCES ... [LIBS ...]): a libFuzzer target, built only with DESKHAND_FUZZ.
function(dh_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT DESKHAND_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} dh_options)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
