# add_program(NAME SOURCES files... [TESTS files...])
#
# A program is a library NAME_lib with its procedures and state (namespace
# NAME, entry point NAME::run), the executable NAME built from main.cpp, and
# a GoogleTest binary NAME_tests run headless. `cmake --install` puts the
# executable in bin/.
include(GNUInstallDirs)

function(add_program name)
  cmake_parse_arguments(PROGRAM "" "" "SOURCES;TESTS" ${ARGN})
  add_library(${name}_lib STATIC ${PROGRAM_SOURCES})
  target_include_directories(${name}_lib PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name}_lib PUBLIC platform)
  add_executable(${name} main.cpp)
  target_link_libraries(${name} PRIVATE ${name}_lib)
  install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Installed without its debug information, which holds the source and
  # build paths.
  if(CMAKE_STRIP)
    install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\"
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${name}>\"
      COMMAND_ERROR_IS_FATAL ANY)")
  endif()
  if(PROGRAM_TESTS)
    add_executable(${name}_tests ${PROGRAM_TESTS})
    target_link_libraries(${name}_tests PRIVATE ${name}_lib platform_testing GTest::gtest_main)
    gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
