# Shared helpers for the layer libraries, tests and benchmarks.

set(LUMARO_WARNINGS -Wall -Wextra)

# The sanitizer build's tests (and the programs they start) stop at the first finding; leaks are
# reported at exit. The suppressions name leaks inside outside libraries only, never our code.
set(LUMARO_SANITIZER_ENVIRONMENT
  "ASAN_OPTIONS=detect_leaks=1:halt_on_error=1"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/leaks-outside.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# lumaro_library(name SOURCES ... LIBS ...): one static library of a layer.
function(lumaro_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;DEFINES" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${LUMARO_WARNINGS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  if(ARG_DEFINES)
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINES})
  endif()
  target_precompile_headers(${name} PRIVATE <QtCore/QtCore>)
endfunction()

# lumaro_test(name SOURCES ... LIBS ... [LABELS ...] [TIMEOUT s]): one Qt Test executable
# registered with CTest. Every test gets a headless platform; LUMARO_HOME is made fresh by the
# test support main.
function(lumaro_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${LUMARO_WARNINGS})
  target_link_libraries(${name} PRIVATE lumaro_testsupport ${ARG_LIBS} Qt6::Test)
  target_compile_definitions(${name} PRIVATE
    LUMARO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    LUMARO_BINARY_DIR="${PROJECT_BINARY_DIR}")
  target_precompile_headers(${name} PRIVATE <QtTest/QtTest> <QtWidgets/QtWidgets>)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  # Tests of the libraries below the shell (no lumaro_shell, no outside services) also carry the
  # label "library" and can be built on their own: the sanitizer run of CI.
  if(NOT "lumaro_shell" IN_LIST ARG_LIBS AND NOT "interop" IN_LIST ARG_LABELS AND NOT "printing" IN_LIST ARG_LABELS)
    list(APPEND ARG_LABELS library)
    if(NOT TARGET library_tests)
      add_custom_target(library_tests)
    endif()
    add_dependencies(library_tests ${name})
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(LUMARO_SANITIZE)
    # Instrumented code runs two to three times slower.
    math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * 3")
  endif()
  set(environment "QT_QPA_PLATFORM=offscreen;LUMARO_SHARED_DIR=${PROJECT_SOURCE_DIR}/../shared")
  if(LUMARO_SANITIZE)
    list(APPEND environment ${LUMARO_SANITIZER_ENVIRONMENT})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "${environment}")
endfunction()

# lumaro_bench(name SOURCES ... LIBS ...): a benchmark executable run by ./build.sh bench.
function(lumaro_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${LUMARO_WARNINGS})
  target_link_libraries(${name} PRIVATE lumaro_benchsupport ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
  add_dependencies(benchmarks ${name})
endfunction()
