# Packs the portable ZIP and writes SHA256SUMS beside it, in PACKAGE_DIR (BUILD_DIR/package unless
# given). Run by the zip target and the zip_contents test (packaging/CMakeLists.txt, where the
# checks of what it packs are wired) with SOURCE_DIR, BUILD_DIR and NAME (the ZIP's name without
# .zip). The same commit gives the same bytes, wherever and whenever it is packed.
cmake_minimum_required(VERSION 3.25)
if(NOT PACKAGE_DIR)
  set(PACKAGE_DIR ${BUILD_DIR}/package)
endif()

# Every time in the package is the last commit's: SOURCE_DATE_EPOCH if the caller gives one (to
# repack a published ZIP from a source archive), else git's. Without either, 1980-01-01, the
# earliest time a ZIP entry can hold, so that nobody takes it for the time of the build.
if(NOT "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
  execute_process(COMMAND git -C ${SOURCE_DIR} log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT epoch MATCHES "^[0-9]+$")
    message(WARNING "zip: no git history, so every time in the ZIP is 1980-01-01")
    set(epoch 315532800)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
execute_process(COMMAND git -C ${SOURCE_DIR} status --porcelain --untracked-files=no
  OUTPUT_VARIABLE changed ERROR_QUIET)
if(changed)
  message(WARNING "zip: the tree has uncommitted changes; nobody can repack this ZIP from a commit")
endif()
# ZIP entries hold local time.
set(ENV{TZ} UTC0)

# --strip also rewrites the exe's PE time stamp: binutils' strip takes it from SOURCE_DATE_EPOCH,
# else from the clock.
set(stage ${PACKAGE_DIR}-stage)
file(REMOVE_RECURSE ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage}/${NAME} --strip
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(GLOB_RECURSE staged LIST_DIRECTORIES false RELATIVE ${stage}/${NAME} ${stage}/${NAME}/*)
list(SORT staged)

# Entries in sorted order, and their times all SOURCE_DATE_EPOCH: given --mtime instead, CMake
# sets only the modification time and the entries keep the files' own access and change times.
# Each entry also records the packer's numeric user and group, which CMake before 4.3 cannot set:
# packers under different accounts get ZIPs that differ in those bytes.
list(TRANSFORM staged PREPEND ${NAME}/ OUTPUT_VARIABLE entries)
list(JOIN entries "\n" entries)
file(WRITE ${stage}/entries.txt "${entries}\n")
set(zip ${PACKAGE_DIR}/${NAME}.zip)
file(MAKE_DIRECTORY ${PACKAGE_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip}.part --format=zip --files-from=entries.txt
  WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${zip}.part ${zip})
file(SHA256 ${zip} hash)
file(WRITE ${PACKAGE_DIR}/SHA256SUMS "${hash}  ${NAME}.zip\n")
message(STATUS "zip: ${zip}, dated $ENV{SOURCE_DATE_EPOCH}, sha256 ${hash}")
