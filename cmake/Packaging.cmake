# The Debian package, made by `cpack -G DEB` in a build folder (scripts/package).
# It holds what `cmake --install` installs, under /usr, with stripped programs, the
# manual pages and the changelog compressed, and the libraries it needs declared
# through dpkg-shlibdeps. docs/packaging.md lists what lintian still says about it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pavilore)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pavilore developers")
set(CPACK_PACKAGE_CONTACT "Pavilore developers <pavilore@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sliding-tile puzzle game with rows, rings and jumps")
set(CPACK_PACKAGE_DESCRIPTION
"Pavilore is a sliding-tile puzzle game. You push numbered tiles over a board
of sunken floor and raised solid cells until the position matches an
objective. A push shoves the whole row of tiles in front of the pushed tile;
rows that close on themselves turn as rings, glued tiles move as one body,
corner pieces bend rows around corners and jump mouths carry rows from one
solid cell to another.

Play single games, games against the computer and campaigns; top-10 records
are kept inside the game files themselves. The package also holds
pavilore-tool, which reads, writes and checks the game files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Pavilore developers <pavilore@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The music is played with this General MIDI soundfont (src/platform/Audio.h). The
# sound libraries are loaded when the game opens its sound device, not linked, so
# dpkg-shlibdeps cannot see them: they are named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "timgm6mb-soundfont, libsdl2-mixer-2.0-0 (>= 2.6.0), libsdl2-2.0-0 (>= 2.0.10), libfluidsynth3, libasound2")
# Qt's Wayland platform, for desktops that offer no X11 at all.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# The control files with the permissions Debian's policy gives them.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The staged files finished before packing (cmake/DebStaging.cmake).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebStaging.cmake)
set(CPACK_PAVILORE_STRIP ${CMAKE_STRIP})

include(CPack)
