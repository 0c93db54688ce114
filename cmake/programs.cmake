# add_program(NAME SOURCES files... [TESTS files...])
#
# A program is a library NAME_lib with its procedures and state (namespace
# NAME, entry point NAME::run), the executable NAME built from main.cpp, and
# a GoogleTest binary NAME_tests run headless.
function(add_program name)
  cmake_parse_arguments(PROGRAM "" "" "SOURCES;TESTS" ${ARGN})
  add_library(${name}_lib STATIC ${PROGRAM_SOURCES})
  target_include_directories(${name}_lib PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name}_lib PUBLIC platform)
  add_executable(${name} main.cpp)
  target_link_libraries(${name} PRIVATE ${name}_lib)
  if(PROGRAM_TESTS)
    add_executable(${name}_tests ${PROGRAM_TESTS})
    target_link_libraries(${name}_tests PRIVATE ${name}_lib platform_testing GTest::gtest_main)
    gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
