# Packs the portable ZIP and writes SHA256SUMS beside it, in BUILD_DIR/package. Run by the zip
# target (packaging/CMakeLists.txt) with SOURCE_DIR, BUILD_DIR, NAME (the ZIP's name without
# .zip), FILES (what the ZIP must hold, no more, no less) and, for MinGW, MAP (the exe's link map)
# and NOTICES (THIRD-PARTY-NOTICES.txt, which must name every toolchain library the exe took code
# from). The same commit gives the same bytes, wherever and whenever it is packed.
cmake_minimum_required(VERSION 3.25)

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

if(MAP)
  # The link map lists the archive members and objects the linker put into the exe; those from
  # outside the build folder are the toolchain's.
  file(STRINGS ${MAP} lines REGEX "^(/|LOAD /|Archive member included|Discarded input sections)")
  set(members OFF)
  set(inputs "")
  set(linked "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^Archive member included")
      set(members ON)
    elseif(line MATCHES "^Discarded input sections")
      set(members OFF)
    elseif(line MATCHES "^LOAD (/.*\\.o)$")
      list(APPEND inputs ${CMAKE_MATCH_1})
    elseif(members AND line MATCHES "^(/[^(]*)")
      list(APPEND inputs ${CMAKE_MATCH_1})
    endif()
  endforeach()
  foreach(input IN LISTS inputs)
    cmake_path(IS_PREFIX BUILD_DIR ${input} ours)
    if(NOT ours)
      cmake_path(GET input FILENAME library)
      list(APPEND linked ${library})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES linked)
  if(NOT linked)
    message(FATAL_ERROR "zip: no toolchain library found in ${MAP}")
  endif()
  file(READ ${NOTICES} notices)
  foreach(library IN LISTS linked)
    string(FIND "${notices}" "${library}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "zip: the exe contains code from ${library}, which ${NOTICES} does not name")
    endif()
  endforeach()
  message(STATUS "zip: runtime code from ${linked}")
endif()

# --strip also rewrites the exe's PE time stamp: binutils' strip takes it from SOURCE_DATE_EPOCH,
# else from the clock.
set(stage ${BUILD_DIR}/zip-stage)
file(REMOVE_RECURSE ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage}/${NAME} --strip
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(GLOB_RECURSE staged LIST_DIRECTORIES false RELATIVE ${stage}/${NAME} ${stage}/${NAME}/*)
list(SORT staged)
list(SORT FILES)
if(NOT staged STREQUAL FILES)
  message(FATAL_ERROR "zip: the ZIP would hold ${staged}, not ${FILES}")
endif()

string(REPLACE "/" "\\" native_source "${SOURCE_DIR}/")
string(REPLACE "/" "\\" native_build "${BUILD_DIR}/")
foreach(file IN LISTS staged)
  # Notepad before Windows 10 1809 shows a file with bare LF line ends as one long line.
  if(file MATCHES "\\.txt$")
    # Read as hex, as file(READ) drops CR: one "xx " per byte, then take away each CR LF.
    file(READ ${stage}/${NAME}/${file} text HEX)
    string(REGEX REPLACE "(..)" "\\1 " text "${text}")
    string(REPLACE "0d 0a " "" text " ${text}")
    if(text MATCHES " 0a ")
      message(FATAL_ERROR "zip: ${file} has lines without CRLF")
    endif()
  endif()
  # A build path in the package would differ from folder to folder and tell about the builder.
  foreach(encoding IN ITEMS UTF-8 UTF-16LE)
    file(STRINGS ${stage}/${NAME}/${file} strings ENCODING ${encoding})
    string(TOLOWER "${strings}" strings)
    foreach(path IN ITEMS "${SOURCE_DIR}/" "${BUILD_DIR}/" "${native_source}" "${native_build}")
      string(TOLOWER "${path}" path)
      string(FIND "${strings}" "${path}" at)
      if(NOT at EQUAL -1)
        message(FATAL_ERROR "zip: ${file} holds the build path ${path}")
      endif()
    endforeach()
  endforeach()
endforeach()

# Entries in sorted order, and their times all SOURCE_DATE_EPOCH: given --mtime instead, CMake
# sets only the modification time and the entries keep the files' own access and change times.
# Each entry also records the packer's numeric user and group, which CMake before 4.3 cannot set:
# packers under different accounts get ZIPs that differ in those bytes.
list(TRANSFORM staged PREPEND ${NAME}/ OUTPUT_VARIABLE entries)
list(JOIN entries "\n" entries)
file(WRITE ${stage}/entries.txt "${entries}\n")
set(zip ${BUILD_DIR}/package/${NAME}.zip)
file(MAKE_DIRECTORY ${BUILD_DIR}/package)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip}.part --format=zip --files-from=entries.txt
  WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${zip}.part ${zip})
file(SHA256 ${zip} hash)
file(WRITE ${BUILD_DIR}/package/SHA256SUMS "${hash}  ${NAME}.zip\n")
message(STATUS "zip: ${zip}, dated $ENV{SOURCE_DATE_EPOCH}, sha256 ${hash}")
