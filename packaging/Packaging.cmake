# Installation in the usual places and a Debian package built with CPack:
#   cmake --install build                 (bin/, share/applications/, share/icons/, share/man/...)
#   cmake --build build --target package  (build/terrain-palette-editor_<version>_<arch>.deb)
# The version is the one of project() in the top CMakeLists.txt; the package, its changelog, the
# manual page and the AppStream release all take it from there.
include(GNUInstallDirs)

# The desktop entry, the icon and the AppStream metadata are named after this id; software
# centres tie them together by it.
set(TPE_APP_ID org.example.terrain_palette_editor)
target_compile_definitions(terrain-palette-editor PRIVATE TPE_APP_ID="${TPE_APP_ID}")
set(TPE_RELEASE_DATE 2026-12-07)
set(TPE_MAINTAINER "Terrain Palette Editor developers <developers@example.org>")
set(TPE_PACKAGE terrain-palette-editor)

set(tpe_generated ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_CURRENT_LIST_DIR}/${TPE_APP_ID}.metainfo.xml.in
    ${tpe_generated}/${TPE_APP_ID}.metainfo.xml @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/terrain-palette-editor.1.in
    ${tpe_generated}/gz/terrain-palette-editor.1 @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${tpe_generated}/gz/changelog @ONLY)

# Debian wants the manual page and the changelog compressed as hard as gzip can, without the
# time stamp and name that would make two builds differ.
set(tpe_compressed)
foreach(name terrain-palette-editor.1 changelog)
    add_custom_command(OUTPUT ${tpe_generated}/${name}.gz
        COMMAND gzip -n -9 -c ${tpe_generated}/gz/${name} > ${tpe_generated}/${name}.gz
        DEPENDS ${tpe_generated}/gz/${name}
        COMMENT "Compressing ${name}")
    list(APPEND tpe_compressed ${tpe_generated}/${name}.gz)
endforeach()
add_custom_target(compressed-docs ALL DEPENDS ${tpe_compressed})

install(TARGETS terrain-palette-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TPE_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TPE_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${tpe_generated}/${TPE_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${tpe_generated}/terrain-palette-editor.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${tpe_generated}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${TPE_PACKAGE})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${TPE_PACKAGE})
set(CPACK_PACKAGE_VENDOR "The Terrain Palette Editor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the 256 colours of a terrain palette file")
# The extended description, one line of the package's control file per line here (CPack puts
# the leading space in front of each); each stays under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [[A small desktop editor for a 256-colour terrain palette, the 768-byte file
europe.act. It shows the colours as a 16 by 16 grid, reads out the colour
under the pointer with its terrain class, changes the red, green and blue of
a picked colour, spreads a straight-line gradient between two picked colours,
undoes and redoes every change and saves the palette back byte for byte.]])
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TPE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# dpkg-shlibdeps (from dpkg-dev) works out the Qt and C++ runtime packages from the binary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Wayland plugin runs the editor natively on a Wayland desktop, sharp at fractional scales;
# without it the editor still runs, through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
