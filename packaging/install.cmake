# Install rules and the Debian package. An installed tcmap finds its data as
# ../share/tcmap from its executable, so any prefix works; the user's settings
# live in the XDG config folder (src/config/program_folders.h).
include(GNUInstallDirs)

set(TCMAP_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS tcmap RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The run-folder files, read-only: the first start copies Settings.ini and
# Language.ini into the user's folder.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tcmap)
# Settings files to copy and adapt (`tcmap check-settings` checks a copy).
file(GLOB TCMAP_SAMPLE_SETTINGS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/samples/*.ini)
install(FILES ${TCMAP_SAMPLE_SETTINGS} DESTINATION ${CMAKE_INSTALL_DATADIR}/tcmap/samples)
install(FILES ${TCMAP_PACKAGING_DIR}/tcmap.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TCMAP_PACKAGING_DIR}/org.tcmap.tcmap.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TCMAP_PACKAGING_DIR}/tcmap.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
# Bash completion of the commands and their options.
install(FILES ${TCMAP_PACKAGING_DIR}/tcmap.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tcmap)
install(FILES ${TCMAP_PACKAGING_DIR}/icons/tcmap.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${TCMAP_PACKAGING_DIR}/icons/tcmap-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME tcmap.png)
endforeach()

# Debian keeps manual pages compressed.
find_program(GZIP_PROGRAM gzip)
if(GZIP_PROGRAM)
  set(man_page ${CMAKE_BINARY_DIR}/tcmap.1.gz)
  add_custom_command(OUTPUT ${man_page}
    COMMAND ${GZIP_PROGRAM} -9n -c ${TCMAP_PACKAGING_DIR}/tcmap.1 > ${man_page}
    DEPENDS ${TCMAP_PACKAGING_DIR}/tcmap.1 VERBATIM)
  add_custom_target(man_page ALL DEPENDS ${man_page})
else()
  set(man_page ${TCMAP_PACKAGING_DIR}/tcmap.1)
endif()
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME tcmap)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "tcmap developers")
set(CPACK_PACKAGE_CONTACT "tcmap developers <tcmap@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "draw tropical-cyclone track maps from ATCF track files")
set(CPACK_PACKAGE_DESCRIPTION
    "tcmap draws tropical-cyclone track maps from ATCF best-track and forecast files: intensity-coloured tracks and markers, wind radii, a latitude/longitude grid, a colour-scale legend and storm labels on a world map, in a window or in a batch mode that needs no display.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Libraries come from shlibdeps; the fonts that fonts.conf names for Chinese
# and monospace texts are not linked, so they are listed here, and so is GDAL,
# which tcmap opens only when it writes a GIS file.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, fonts-dejavu-core")
if(TCMAP_GDAL_PACKAGE)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${TCMAP_GDAL_PACKAGE}")
endif()
set(CPACK_GENERATOR DEB)
include(CPack)
