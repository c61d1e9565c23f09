# What the game brings to the desktop besides its programs and the installation image:
# the desktop entry, the icon at every size of the theme, the AppStream metadata, the
# manual pages and the package's documents. Included by the top-level CMakeLists.txt
# after the programs' folders.
set(PAVILORE_APP_ID io.github.pavilore.Pavilore)
set(PAVILORE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

configure_file(${PAVILORE_PACKAGING_DIR}/pavilore-tool.1.in ${CMAKE_BINARY_DIR}/man/pavilore-tool.1 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/man/pavilore-tool.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET pavilore)
  add_subdirectory(tools/icon)
  install(FILES ${PAVILORE_PACKAGING_DIR}/${PAVILORE_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PAVILORE_PACKAGING_DIR}/${PAVILORE_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  configure_file(${PAVILORE_PACKAGING_DIR}/pavilore.6.in ${CMAKE_BINARY_DIR}/man/pavilore.6 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/man/pavilore.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endif()

# The Debian package compresses the changelog (cmake/DebStaging.cmake).
install(FILES ${PAVILORE_PACKAGING_DIR}/copyright ${PAVILORE_PACKAGING_DIR}/changelog
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pavilore)
