# Helpers that declare test, fuzz and benchmark executables with their CTest labels.
find_package(GTest REQUIRED)
include(GoogleTest)

# halvo_add_layer(<name> SOURCES ... [LIBS ...]): a static core library halvo_<name>.
function(halvo_add_layer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(halvo_${name} STATIC ${ARG_SOURCES})
  target_include_directories(halvo_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(halvo_${name} PUBLIC ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY HALVO_CORE_LAYERS halvo_${name})
endfunction()

# halvo_add_test(<name> LABEL <label> SOURCES ... LIBS ... [ENV ...])
function(halvo_add_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS;ENV" ${ARGN})
  if(NOT ARG_LABEL)
    set(ARG_LABEL unit)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    HALVO_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    HALVO_AREA_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    HALVO_SHARED_DATA_DIR="${HALVO_SHARED_DATA_DIR}"
    HALVO_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${ARG_LABEL} ENVIRONMENT "${ARG_ENV}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# halvo_add_fuzzer(<name> SOURCES ... LIBS ... CORPUS <dir>): a libFuzzer target run for
# HALVO_FUZZ_SECONDS on its committed seed corpus under the "fuzz" label.
set(HALVO_FUZZ_SECONDS 30 CACHE STRING "Seconds each fuzz target runs in the test suite")
function(halvo_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
            sh -c "mkdir -p ${work} && cp -n ${ARG_CORPUS}/* ${work}/ 2>/dev/null; exec $<TARGET_FILE:${name}> -max_total_time=${HALVO_FUZZ_SECONDS} -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 ${work}")
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()
