# How test programs are registered: natively each GoogleTest case is a CTest test;
# in the x86_64 Windows build each test program runs under Wine in a private prefix
# that a fixture creates and starts once before the tests (cmake/wine.cmake).
if(NOT BUILD_TESTING)
  return()
endif()

if(CMAKE_CROSSCOMPILING)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(GTEST_TARGETS GTest::gtest GTest::gtest_main)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

if(RUN_WINDOWS_TESTS)
  include(${CMAKE_CURRENT_LIST_DIR}/wine.cmake)
endif()

# add_unit_test(NAME SOURCES... LIBRARIES...): one GoogleTest program.
# Cross builds without Wine (i686) compile nothing here: their programs cannot run.
function(add_unit_test name)
  cmake_parse_arguments(arg "" "" "SOURCES;LIBRARIES" ${ARGN})
  if(CMAKE_CROSSCOMPILING AND NOT RUN_WINDOWS_TESTS)
    return()
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest GTest::gtest_main project_options)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    wine_test_properties(${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30)
  endif()
endfunction()
