# The web page from the top-level build: web/ is configured with emcmake as
# a build of its own in BUILD/web/wasm, and the page lands in BUILD/web/site.
# Without emscripten the `web` target only says so.
#
# Sets ZELVORN_WEB_SITE (the page's folder) and ZELVORN_WEB_MISSING (the
# Debian package that is missing to build it, or empty).

set(ZELVORN_WEB_SITE ${CMAKE_BINARY_DIR}/web/site)
set(ZELVORN_WEB_MISSING "")

find_program(ZELVORN_EMCC emcc)
find_program(ZELVORN_EMCMAKE emcmake)
find_program(ZELVORN_EMCONFIG em-config)
if(NOT ZELVORN_EMCC OR NOT ZELVORN_EMCMAKE)
  set(ZELVORN_WEB_MISSING emscripten)
  set(message "emcc not found (Debian: emscripten): the web page is not built")
  message(STATUS "${message}")
  add_custom_target(web COMMAND ${CMAKE_COMMAND} -E echo "${message}" VERBATIM)
  return()
endif()

# Debian's emcc runs its JavaScript optimiser with acorn from Debian's shared
# Node.js modules, which node does not search by itself.
find_path(ZELVORN_NODE_MODULES acorn/package.json
          PATHS /usr/share/nodejs /usr/lib/nodejs /usr/lib/node_modules
          NO_DEFAULT_PATH)
set(web_env NODE_PATH=${ZELVORN_NODE_MODULES})
if(NOT ZELVORN_NODE_MODULES)
  set(web_env)
  message(STATUS "acorn not found for Node.js (Debian: node-acorn): "
                 "emcc may fail in its JavaScript optimiser")
endif()

# emscripten's cache, in the build folder so that it can be written.  A
# frozen cache (Debian's, with the system libraries already built) is
# reached through links to its entries; any other starts empty and
# emscripten fills it.
set(web_cache ${CMAKE_BINARY_DIR}/web/em-cache)
if(ZELVORN_EMCONFIG AND NOT EXISTS ${web_cache})
  execute_process(COMMAND ${ZELVORN_EMCONFIG} CACHE
                  OUTPUT_VARIABLE system_cache OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE cache_status ERROR_QUIET)
  execute_process(COMMAND ${ZELVORN_EMCONFIG} FROZEN_CACHE
                  OUTPUT_VARIABLE frozen OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET)
  file(MAKE_DIRECTORY ${web_cache})
  if(cache_status EQUAL 0 AND frozen STREQUAL "True" AND IS_DIRECTORY "${system_cache}")
    file(GLOB entries LIST_DIRECTORIES true RELATIVE ${system_cache} ${system_cache}/*)
    list(REMOVE_ITEM entries cache.lock)
    foreach(entry ${entries})
      file(CREATE_LINK ${system_cache}/${entry} ${web_cache}/${entry} SYMBOLIC)
    endforeach()
  endif()
endif()
list(APPEND web_env EM_CACHE=${web_cache})

set(web_build ${CMAKE_BINARY_DIR}/web/wasm)
add_custom_command(OUTPUT ${web_build}/CMakeCache.txt
  COMMAND ${CMAKE_COMMAND} -E env --unset=CMAKE_CXX_COMPILER_LAUNCHER ${web_env}
          ${ZELVORN_EMCMAKE} ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR}/web
          -B ${web_build} -G ${CMAKE_GENERATOR} -DCMAKE_BUILD_TYPE=Release
          -DZELVORN_SITE_DIR=${ZELVORN_WEB_SITE}
  DEPENDS ${PROJECT_SOURCE_DIR}/web/CMakeLists.txt
  COMMENT "Configuring the web page with emscripten"
  VERBATIM)
# The inner build runs its own jobs, one per core, apart from the outer
# build's job server.
cmake_host_system_information(RESULT web_jobs QUERY NUMBER_OF_LOGICAL_CORES)
add_custom_target(web ALL
  COMMAND ${CMAKE_COMMAND} -E env --unset=MAKEFLAGS --unset=MFLAGS --unset=MAKELEVEL ${web_env}
          ${CMAKE_COMMAND} --build ${web_build} --parallel ${web_jobs}
  DEPENDS ${web_build}/CMakeCache.txt
  COMMENT "Building the web page with emscripten into ${ZELVORN_WEB_SITE}"
  VERBATIM)
