# Installation in the usual places and a Debian package built with CPack:
#   cmake --install build                 (bin/, share/applications/, share/icons/)
#   cmake --build build --target package  (build/terrain-palette-editor_<version>_<arch>.deb)
include(GNUInstallDirs)

install(TARGETS terrain-palette-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/terrain-palette-editor.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/terrain-palette-editor.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME terrain-palette-editor)
set(CPACK_PACKAGE_VENDOR "Terrain Palette Editor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the colours of a terrain palette")
set(CPACK_PACKAGE_DESCRIPTION
    "A small desktop editor for a 256-colour terrain palette file, europe.act. It shows the \
colours as a 16 by 16 grid, reads out the colour under the pointer with its terrain class, \
changes the red, green and blue of a picked colour, spreads a straight-line gradient between \
two picked colours and saves the palette back byte for byte.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Terrain Palette Editor developers")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# dpkg-shlibdeps (from dpkg-dev) works out the Qt and C++ runtime packages from the binary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
