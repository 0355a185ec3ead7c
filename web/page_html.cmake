# Writes the page: the template TEMPLATE with a modulepreload link written in
# for every JavaScript module (MODULES, separated by commas), to OUTPUT.  The
# browser then fetches them all at once instead of discovering them import
# by import, one round trip for every level of the module graph.  The
# icon ICON is written in as a data address: a favicon that the browser
# fetches on its own, late and at a low priority, would otherwise cross the
# network a second time when the service worker keeps the page's files.
#
#   cmake -DTEMPLATE=web/index.html -DMODULES=app.js,page/calc.js
#         -DICON=web/icon.svg -DOUTPUT=site/index.html -P web/page_html.cmake
string(REPLACE "," ";" modules "${MODULES}")
set(ZELVORN_MODULE_PRELOADS "")
foreach(module ${modules})
  string(APPEND ZELVORN_MODULE_PRELOADS
         "<link rel=\"modulepreload\" href=\"${module}\">\n")
endforeach()
file(READ "${ICON}" icon)
string(REPLACE "%" "%25" icon "${icon}")
string(REPLACE "#" "%23" icon "${icon}")
string(REPLACE "\"" "'" icon "${icon}")
string(REPLACE "\n" " " icon "${icon}")
string(STRIP "${icon}" icon)
set(ZELVORN_ICON_ADDRESS "data:image/svg+xml,${icon}")
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
