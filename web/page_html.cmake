# Writes the page: the template TEMPLATE with a modulepreload link written in
# for every JavaScript module (MODULES, separated by commas), to OUTPUT.  The
# browser then fetches them all at once instead of discovering them import
# by import, one round trip for every level of the module graph.
#
#   cmake -DTEMPLATE=web/index.html -DMODULES=app.js,page/calc.js
#         -DOUTPUT=site/index.html -P web/page_html.cmake
string(REPLACE "," ";" modules "${MODULES}")
set(ZELVORN_MODULE_PRELOADS "")
foreach(module ${modules})
  string(APPEND ZELVORN_MODULE_PRELOADS
         "<link rel=\"modulepreload\" href=\"${module}\">\n")
endforeach()
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
