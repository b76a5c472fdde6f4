# make package: a Debian package of the installed layout under /usr,
# build/starfield-stampede_VERSION_ARCH.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME starfield-stampede)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${SS_MAINTAINER}")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageGamesFolder.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${SS_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "arcade space shooter among splitting rocks
Steer a ship through a wrap-around field of rocks, blast them into ever
smaller pieces, pick up power-ups and fight through fifteen levels, the
last of which holds one huge asteroid. Every cleared level ends with an
accuracy bonus, and the best score is kept between runs.

The game draws with OpenGL (lit through GLSL when the driver offers it)
and plays its effects and music through OpenAL.")
# Linked libraries are found by dpkg-shlibdeps; OpenGL and OpenAL are opened
# by name at run time, so they are listed by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libopenal1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri, libglx-mesa0")
include(CPack)
