# Installation of the calculator, its manual page, copyright and changelog,
# the Debian package, and the tests that check both.

include(GNUInstallDirs)

set(ZELVORN_PACKAGE_MAINTAINER
    "Zelvorn Odds maintainers <maintainers@zelvorn-odds.example>"
    CACHE STRING "Maintainer field of the Debian package")

# Read-only relocations resolved at start, as Debian links its programs.
include(CheckLinkerFlag OPTIONAL)
if(COMMAND check_linker_flag)
  check_linker_flag(CXX "LINKER:-z,relro,-z,now" ZELVORN_LINKER_BINDNOW)
  if(ZELVORN_LINKER_BINDNOW)
    target_link_options(zelvorn-odds PRIVATE "LINKER:-z,relro,-z,now")
  endif()
endif()

install(TARGETS zelvorn-odds RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# `cmake --install --strip` (and the package) also drop the compiler
# identification and note sections, as Debian's own packages do.
if(CMAKE_STRIP)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\"
        --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:zelvorn-odds>\")
    endif()")
endif()

# The copyright file in Debian's machine-readable format, made from LICENSE:
# its copyright line, and the licence text as the Expat licence paragraph.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n")
  message(FATAL_ERROR "LICENSE has no copyright line")
endif()
set(zelvorn_copyright "${CMAKE_MATCH_1}")
string(FIND "${license}" "Permission is hereby granted" license_start)
string(SUBSTRING "${license}" ${license_start} -1 license)
string(STRIP "${license}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " zelvorn_license_text " ${license}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/copyright.in
               ${PROJECT_BINARY_DIR}/package-files/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in
               ${PROJECT_BINARY_DIR}/package-files/changelog @ONLY)

# The manual page and the changelog are installed compressed with
# `gzip -9n` (no name or time stamp, so the files are reproducible), or as
# they are where gzip is missing.
find_program(GZIP_PROGRAM gzip)
set(zelvorn_compressed_files)
function(zelvorn_install_compressed source name destination)
  if(GZIP_PROGRAM)
    set(copy ${PROJECT_BINARY_DIR}/package-files/gzip/${name})
    add_custom_command(OUTPUT ${copy}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
      COMMAND ${GZIP_PROGRAM} -9nf ${copy}
      DEPENDS ${source}
      COMMENT "Compressing ${name}"
      VERBATIM)
    set(zelvorn_compressed_files ${zelvorn_compressed_files} ${copy}.gz
        PARENT_SCOPE)
    install(FILES ${copy}.gz DESTINATION ${destination})
  else()
    install(FILES ${source} DESTINATION ${destination} RENAME ${name})
  endif()
endfunction()
zelvorn_install_compressed(${PROJECT_SOURCE_DIR}/man/zelvorn-odds.1
                           zelvorn-odds.1 ${CMAKE_INSTALL_MANDIR}/man1)
zelvorn_install_compressed(${PROJECT_BINARY_DIR}/package-files/changelog
                           changelog ${CMAKE_INSTALL_DOCDIR})
if(zelvorn_compressed_files)
  add_custom_target(zelvorn_compressed_files ALL
                    DEPENDS ${zelvorn_compressed_files})
  set(zelvorn_man_page zelvorn-odds.1.gz)
else()
  set(zelvorn_man_page zelvorn-odds.1)
endif()
install(FILES ${PROJECT_BINARY_DIR}/package-files/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The bash completion, where bash-completion looks for a command's own.
set(ZELVORN_BASH_COMPLETION_DIR
    ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${PROJECT_SOURCE_DIR}/completion/zelvorn-odds.bash
        DESTINATION ${ZELVORN_BASH_COMPLETION_DIR} RENAME zelvorn-odds)

# The Debian package: `cpack -G DEB` in the build folder (see
# cmake/check_package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvorn-odds)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "odds calculator for combats in the wargame Zelvorn")
# The long description of the package, one line of the control file per line.
set(CPACK_PACKAGE_DESCRIPTION
    "zelvorn-odds asks what is known about two units that are about to fight
in the turn-based wargame Zelvorn (classes, attack and defense values,
initiative, experience, strength, entrenchment, leaders, terrain, weather,
Combat Support units and supporting artillery or air defense) and predicts
the strength points that each unit will lose and the suppression that the
attacker will inflict, with and without the support fire. It runs in a
text console and also reads its answers from a file or a pipe.")
set(CPACK_PACKAGE_CONTACT ${ZELVORN_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZELVORN_PACKAGE_MAINTAINER})
# A calculator, installed in /usr/bin: not a game.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Line editing loads libedit when a typed dialogue starts.
if(ZELVORN_LINE_EDITING)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libedit2")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
find_program(DPKG_PROGRAM dpkg)
if(DPKG_PROGRAM)
  execute_process(COMMAND ${DPKG_PROGRAM} --print-architecture
                  OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
include(CPack)

if(BUILD_TESTING)
  # The manual page renders without a single warning.
  find_program(GROFF_PROGRAM groff)
  if(GROFF_PROGRAM)
    add_test(NAME package.man_page
             COMMAND sh -c
               "warnings=$(\"$0\" -man -Tutf8 -ww -z \"$1\" 2>&1) || exit 1; \
                [ -z \"$warnings\" ] || { printf '%s\\n' \"$warnings\"; exit 1; }"
               ${GROFF_PROGRAM} ${PROJECT_SOURCE_DIR}/man/zelvorn-odds.1)
  endif()

  # An installation into a fresh prefix holds the program, the manual page,
  # the copyright file, the changelog and the bash completion.
  add_test(NAME package.install
           COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/check_install.sh
                   ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR} $<CONFIG>
                   ${PROJECT_BINARY_DIR}/install-check
                   ${CMAKE_INSTALL_BINDIR}/zelvorn-odds
                   ${CMAKE_INSTALL_MANDIR}/man1/${zelvorn_man_page}
                   ${CMAKE_INSTALL_DOCDIR}
                   ${ZELVORN_BASH_COMPLETION_DIR}/zelvorn-odds)
endif()
