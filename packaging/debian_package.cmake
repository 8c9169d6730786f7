# `cpack -G DEB`: one binary package, vtrak_VERSION_ARCH.deb, holding the
# installed tree under /usr. dpkg-shlibdeps names the libraries the programs
# link (SDL2, Xlib, OpenAL Soft, libvorbisfile, FreeType, fontconfig, libpng, zlib and
# the C and C++ runtimes) with their versions; the font is added by hand, as
# the game finds it through fontconfig at run time.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vtrak)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VTRAK_DEB_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tiny arcade game: jump the posts as the ground rushes by")
# The summary is the synopsis line; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Your figure stands still while the ground, its sleepers and its posts rush by
beneath the span line. Each time a post reaches you, you must be in the air:
press Z to jump. Miss one and the run is over; X starts a new one. The train
speed follows the score. The game makes one step per display refresh.
.
This package also holds vtrak-tool, the game without a window, for demos and
diagnostics.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VTRAK_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
# Directories 0755 and files 0644/0755 whatever the builder's umask.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
