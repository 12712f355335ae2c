# The Debian package: `cpack -G DEB` in the build folder makes velmora_<version>_<arch>.deb with the three programs,
# the icon and the desktop entry, installed under /usr.
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Conversion tables for PIC-based analog display units")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora Tool builds the 1024-entry conversion table of a PIC-based analog display unit, linearly from two\n"
    "limits or from calibration points recorded from the unit's live readings over a serial port, and writes it\n"
    "as an .anl file. The package also holds velmora-table, which makes table files from the command line, and\n"
    "velmora-unit-sim, a simulated display unit on a pseudo-terminal.")
# All four parts of the version (CPack would take only three).
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmora Tool maintainers <velmora@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The Qt libraries and the C++ runtime come from dpkg-shlibdeps (package dpkg-dev); the dialogs are laid out with
# DejaVu Sans, so a machine without it would show clipped texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")

include(CPack)
