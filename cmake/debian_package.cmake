# The Debian package, made by `cpack` from the install rules (scripts/package.sh runs it): the
# same files `cmake --install` puts in place, under /usr, with the program stripped and the
# libraries it needs found by dpkg-shlibdeps rather than listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "\
A small 2D side-scrolling action game. A nimble spotted wild cat walks, runs,
jumps, double-jumps, dodges and fights, with bare hands, a light blade or a
heavy maul, through four stages: a savanna, a canyon of floating ledges, a
long hillside descent packed with foes, and a night arena where a spinning
boss waits. Foes burst into a healing liquid; drink it to win back the health
that running and fighting cost you.

Plays with the keyboard and mouse, or with any number of game controllers.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tarnwick developers <tarnwick@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
