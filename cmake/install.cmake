# Install rules and the Debian package (make install, make deb).
# The programs find their help and examples in ../share/zoomwright/ from bin/,
# so the two folder names are fixed.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(ZW_SHARE share/zoomwright)
# make install and cpack take the programs as built: the Makefile builds first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS zoomwright-cli RUNTIME DESTINATION bin)
# The drawing module zoomwright-cli loads from ../lib/zoomwright/.
if(TARGET zoomwright-raster)
  install(TARGETS zoomwright-raster LIBRARY DESTINATION lib/zoomwright)
endif()
if(TARGET zoomwright)
  install(TARGETS zoomwright RUNTIME DESTINATION bin)
endif()
install(DIRECTORY help/ DESTINATION ${ZW_SHARE}/help)
install(DIRECTORY examples/ DESTINATION ${ZW_SHARE}/examples)
install(FILES packaging/zoomwright.desktop DESTINATION share/applications)
install(FILES packaging/zoomwright.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES packaging/zoomwright.1 packaging/zoomwright-cli.1 DESTINATION share/man/man1)
install(FILES packaging/copyright DESTINATION share/doc/zoomwright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zoomwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zoomwright developers")
set(CPACK_PACKAGE_CONTACT "Zoomwright developers <zoomwright@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shows which rules of an mkgmap style show up at which zoom")
set(CPACK_PACKAGE_DESCRIPTION
  "Zoomwright reads an mkgmap style and the files it includes, charts every rule\n"
  "as a bar across the resolution scale, shows how each type looks according to\n"
  "the map's TYP text file, converts a resolution-based style into a level-based\n"
  "one and exports the chart as an image. zoomwright is the window program,\n"
  "zoomwright-cli its batch front end for scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Dependencies from the libraries the programs are linked with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The converted styles are checked with mkgmap's own style check when it is there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS mkgmap)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What Debian wants of a package's files: compressed manual pages, a changelog.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb_files.cmake)
set(CPACK_ZW_DEB_CHANGELOG ${CMAKE_SOURCE_DIR}/packaging/changelog)
include(CPack)
