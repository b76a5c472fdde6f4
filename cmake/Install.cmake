# What `cmake --install` (make install) and the Debian package put where:
# the game and its tools in bin/, the generated asset tree with default
# settings in share/starfield-stampede/base/, and what a desktop needs to
# list the game (entry, icons, AppStream metadata, man page).
include(GNUInstallDirs)
# Named, so a test can install a copy without touching the install_manifest.txt
# that make uninstall reads.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME game)

set(SS_APP_ID net.kelpforge.StarfieldStampede)
set(SS_HOMEPAGE https://kelpforge.net/starfield-stampede)
set(SS_MAINTAINER "Kelpforge Software <maintainers@kelpforge.net>")

# The game finds its data as <its folder>/../share/starfield-stampede/base,
# so the install keeps that shape whatever the prefix.
if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}" OR CMAKE_INSTALL_BINDIR MATCHES "/" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
  message(FATAL_ERROR "The game looks for its data in ../share/ beside its own folder: keep CMAKE_INSTALL_BINDIR "
                      "one folder deep (it is '${CMAKE_INSTALL_BINDIR}') and CMAKE_INSTALL_DATADIR 'share' "
                      "(it is '${CMAKE_INSTALL_DATADIR}').")
endif()
set(SS_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/starfield-stampede)

install(TARGETS starfield-stampede RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The tools get the game's name in front so they cannot clash with another
# package's programs.
foreach(tool depotbuilder bundletool)
  install(PROGRAMS $<TARGET_FILE:${tool}> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME starfield-stampede-${tool})
  # install(PROGRAMS) is not stripped by --strip (or the package) on its own.
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/starfield-stampede-${tool}\")
  endif()")
endforeach()

# The generated tree without what a run in the build tree writes into it;
# the default settings come from a file of their own.
install(DIRECTORY ${SS_BIN_DIR}/base/ DESTINATION ${SS_DATA_DESTINATION}/base
  PATTERN conlog.txt EXCLUDE
  PATTERN config EXCLUDE)
install(FILES ${SS_DEFAULT_SETTINGS} DESTINATION ${SS_DATA_DESTINATION}/base/config)

install(DIRECTORY ${SS_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES desktop/${SS_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(desktop/${SS_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/desktop/${SS_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${SS_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Man pages, gzipped as Debian installs them.
find_program(GZIP gzip REQUIRED)
foreach(page starfield-stampede.6 starfield-stampede-depotbuilder.1 starfield-stampede-bundletool.1)
  configure_file(desktop/${page}.in ${CMAKE_BINARY_DIR}/desktop/${page} @ONLY)
  string(REGEX MATCH "[0-9]$" section ${page})
  set(packed ${CMAKE_BINARY_DIR}/desktop/${page}.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${GZIP} -9nf -k ${CMAKE_BINARY_DIR}/desktop/${page}
    DEPENDS ${CMAKE_BINARY_DIR}/desktop/${page}
    VERBATIM)
  list(APPEND man_pages ${packed})
  install(FILES ${packed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()

# The package's own documents: copyright and a changelog in Debian's form.
configure_file(desktop/changelog.in ${CMAKE_BINARY_DIR}/desktop/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/desktop/changelog.gz
  COMMAND ${GZIP} -9nf -k ${CMAKE_BINARY_DIR}/desktop/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/desktop/changelog
  VERBATIM)
add_custom_target(install_documents ALL DEPENDS ${man_pages} ${CMAKE_BINARY_DIR}/desktop/changelog.gz)
install(FILES desktop/copyright ${CMAKE_BINARY_DIR}/desktop/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/starfield-stampede)

include(cmake/Package.cmake)
