# Writes the page's service worker: the template TEMPLATE with the files to
# keep (FILES, separated by commas, relative to SITE), each with the digest
# of its contents, and a digest of them all written in, to OUTPUT.
#
#   cmake -DTEMPLATE=web/sw.js -DSITE=site -DFILES=index.html,app.js
#         -DOUTPUT=site/sw.js -P web/service_worker.cmake
string(REPLACE "," ";" files "${FILES}")
set(digests "")
set(ZELVORN_PAGE_FILES "")
foreach(file ${files})
  if(NOT EXISTS "${SITE}/${file}")
    message(FATAL_ERROR "the page's file ${SITE}/${file} is missing")
  endif()
  file(SHA256 "${SITE}/${file}" digest)
  string(APPEND digests "${file} ${digest}\n")
  if(ZELVORN_PAGE_FILES)
    string(APPEND ZELVORN_PAGE_FILES ", ")
  endif()
  string(APPEND ZELVORN_PAGE_FILES "'${file}': '${digest}'")
endforeach()
string(SHA256 digest "${digests}")
string(SUBSTRING "${digest}" 0 16 ZELVORN_PAGE_DIGEST)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
