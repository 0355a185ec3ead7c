# The schemas and the manual as the source tree holds them are what
# zelvorn-formats writes from the field catalogue.  Run by ctest with
# PROGRAM, SOURCE (the source tree) and OUT (a folder of the build).
file(MAKE_DIRECTORY ${OUT})
execute_process(
  COMMAND ${PROGRAM} ${OUT}/scenario.schema.json ${OUT}/roster.schema.json
          ${SOURCE}/man/zelvorn-odds.1 ${OUT}/zelvorn-odds.1
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "zelvorn-formats failed")
endif()
set(stale "")
foreach(pair "docs/scenario.schema.json;scenario.schema.json"
             "docs/roster.schema.json;roster.schema.json"
             "man/zelvorn-odds.1;zelvorn-odds.1")
  list(GET pair 0 committed)
  list(GET pair 1 written)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
                          ${SOURCE}/${committed} ${OUT}/${written}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    string(APPEND stale " ${committed}")
  endif()
endforeach()
if(stale)
  message(FATAL_ERROR "not what the catalogue gives (`cmake --build BUILD --target formats` writes them anew):${stale}")
endif()
