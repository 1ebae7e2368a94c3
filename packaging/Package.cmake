# `make package`: the installed program as a Debian package. The program folder goes to
# /usr/lib/xemap, the two programs are linked into /usr/bin, and the dependencies are
# computed from the shared libraries the programs use.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME xemap)
set(CPACK_PACKAGE_VENDOR XEMap)
set(CPACK_PACKAGE_CONTACT "XEMap <xemap@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tile map editor for a fantasy role-playing game")
set(CPACK_PACKAGE_DESCRIPTION "XEMap edits 32 x 32 tile maps: tiles with overlays and rotations, doors,
and cell descriptions with NPCs, creatures, items, events and portals. It
exports and prints maps; xemap-cli converts, checks and draws them without a
window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Liberation Serif is the metric twin of the Times New Roman the listing is printed in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_STRIP_FILES ON)
# Folders as Debian wants them (0755), whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The licence and the history in Debian's places; the changelog compressed as policy asks.
set(XEMAP_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/xemap)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND sh -c "gzip -9n < '${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog' > '${CMAKE_BINARY_DIR}/packaging/changelog.gz'"
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the package's changelog"
  VERBATIM)
add_custom_target(package-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${XEMAP_DOC_DIR})
include(CPack)
