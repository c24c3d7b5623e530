# Packs the ZIP twice from SOURCE_DIR, in two fresh build folders under WORK_DIR, and fails unless
# the two are the same bytes and SHA256SUMS names them rightly. The two builds differ in folder,
# in time (the second starts after the first has compiled everything) and in time zone. Only what
# the ZIP holds is built, not the tests. The configuration comes from the build that runs the
# test: GENERATOR, BUILD_TYPE and, where set, the compilers, the toolchain file and the
# GoogleTest sources (so that a fresh folder fetches nothing).
cmake_minimum_required(VERSION 3.25)

set(args -G ${GENERATOR} -DCMAKE_BUILD_TYPE=${BUILD_TYPE})
foreach(name CMAKE_MAKE_PROGRAM CMAKE_TOOLCHAIN_FILE CMAKE_C_COMPILER CMAKE_CXX_COMPILER
    CMAKE_RC_COMPILER FETCHCONTENT_SOURCE_DIR_GOOGLETEST)
  if(${name})
    list(APPEND args -D${name}=${${name}})
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
foreach(build one two)
  if(build STREQUAL two)
    set(ENV{TZ} JST-9)
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/${build} ${args}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/${build} --target zip
    OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "zip-twice: packing in ${WORK_DIR}/${build} failed:\n${log}")
  endif()
  file(GLOB zip ${WORK_DIR}/${build}/package/*.zip)
  file(SHA256 ${zip} hash)
  cmake_path(GET zip FILENAME name)
  file(READ ${WORK_DIR}/${build}/package/SHA256SUMS sums)
  if(NOT sums STREQUAL "${hash}  ${name}\n")
    message(FATAL_ERROR "zip-twice: ${WORK_DIR}/${build}/package/SHA256SUMS does not match ${zip}")
  endif()
  set(hash_${build} ${hash})
endforeach()

if(NOT hash_one STREQUAL hash_two)
  message(FATAL_ERROR "zip-twice: the same sources packed twice differ: ${hash_one} in "
    "${WORK_DIR}/one, ${hash_two} in ${WORK_DIR}/two (both kept; compare them with unzip -Z -v, cmp)")
endif()
message(STATUS "zip-twice: both ${name} are ${hash_one}")
file(REMOVE_RECURSE ${WORK_DIR})
