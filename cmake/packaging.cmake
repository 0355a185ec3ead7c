# Installation of the calculator and its manual page, the Debian package,
# and the tests that check both.

include(GNUInstallDirs)

install(TARGETS zelvorn-odds RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/man/zelvorn-odds.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: `cpack -G DEB` in the build folder (see
# cmake/check_package.sh).
set(ZELVORN_PACKAGE_MAINTAINER
    "Zelvorn Odds maintainers <maintainers@zelvorn-odds.example>"
    CACHE STRING "Maintainer field of the Debian package")

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
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
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

  # An installation into a fresh prefix holds the program and the page.
  set(install_prefix ${PROJECT_BINARY_DIR}/install-check)
  add_test(NAME package.install
           COMMAND sh -c
             "rm -rf \"$1\" && \"$0\" --install \"$2\" --config \"$3\" \
                --prefix \"$1\" > /dev/null || exit 1; \
              for file in \"$1/$4/zelvorn-odds\" \"$1/$5/man1/zelvorn-odds.1\"; do \
                [ -f \"$file\" ] || { echo \"missing: $file\"; exit 1; }; \
              done; \
              [ -x \"$1/$4/zelvorn-odds\" ] || { echo 'not executable'; exit 1; }; \
              rm -rf \"$1\""
             ${CMAKE_COMMAND} ${install_prefix} ${PROJECT_BINARY_DIR} $<CONFIG>
             ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_MANDIR})
endif()
