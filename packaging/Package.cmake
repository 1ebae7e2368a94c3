# `make package`: the installed program as a Debian package. The program folder goes to
# /usr/lib/xemap, the two programs are linked into /usr/bin, and the dependencies are
# computed from the shared libraries the programs use.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME xemap)
set(CPACK_PACKAGE_VENDOR XEMap)
set(CPACK_PACKAGE_CONTACT "XEMap <xemap@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tile map editor for a fantasy role-playing game")
set(CPACK_PACKAGE_DESCRIPTION "XEMap edits 32 x 32 tile maps: tiles with overlays and rotations, doors, \
and cell descriptions with NPCs, creatures, items, events and portals. It exports and prints maps; \
xemap-cli converts, checks and draws them without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Liberation Serif is the metric twin of the Times New Roman the listing is printed in.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_STRIP_FILES ON)
include(CPack)
