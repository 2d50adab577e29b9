# Shared compile settings and helpers for every target of the project.

set(ORVA_WARNINGS -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast
                  -Woverloaded-virtual -Wimplicit-fallthrough)

add_library(orva_options INTERFACE)
target_compile_options(orva_options INTERFACE ${ORVA_WARNINGS})
if(ORVA_WERROR)
  target_compile_options(orva_options INTERFACE -Werror)
endif()
if(ORVA_SANITIZE)
  target_compile_options(orva_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                -fno-sanitize-recover=undefined)
  target_link_options(orva_options INTERFACE -fsanitize=address,undefined)
endif()
target_include_directories(orva_options INTERFACE ${PROJECT_SOURCE_DIR})

# The main shared by the test programs; a static library, so a test that
# defines its own main simply does not pull it in.
add_library(orva_test_main STATIC ${CMAKE_CURRENT_LIST_DIR}/testing/test_main.cpp)
target_link_libraries(orva_test_main PRIVATE orva_options GTest::gtest)
target_compile_definitions(orva_test_main PRIVATE
  ORVA_TEST_STATE_DIR="${CMAKE_BINARY_DIR}/test-registry"
  ORVA_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

# orva_add_test(<name> SOURCES ... LIBS ...)
# One GoogleTest executable registered with CTest. Its main (cmake/testing/test_main.cpp,
# unless the test brings its own) points the settings stores at a folder of
# the build tree, so no test touches the reader's or the machine's store.
function(orva_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE orva_options ${T_LIBS} orva_test_main GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE ORVA_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# orva_add_bench(<name> SOURCES ... LIBS ...): a Google Benchmark program.
# Benchmarks are built with the project and run by hand, never as tests.
function(orva_add_bench name)
  if(NOT ORVA_BUILD_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE orva_options ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
