# The Debian package of Corvane ("make package" runs "cpack -G DEB" in the build folder):
# the desktop program, corvane-cli, the manual, the desktop entry, the icon and the MIME
# types of ".lah" and ".las" files, installed under /usr.
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Corvane maintainers <maintainers@corvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Converts column-oriented ASCII well-log files into LAS 2.0 files")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME corvane)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Corvane maintainers <maintainers@corvane.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies (Qt 6, the C++ runtime) are taken from the programs themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland, python3-pandas")
# The Python module is built for one Python version and imports numpy.
if(TARGET _corvane)
  list(GET CORVANE_PYTHON_VERSIONS 0 built_for)
  list(GET CORVANE_PYTHON_VERSIONS 1 too_new)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "python3 (>= ${built_for}), python3 (<< ${too_new}), python3-numpy")
endif()
# The summary line comes from CPACK_PACKAGE_DESCRIPTION_SUMMARY; CPack indents these lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Corvane turns ASCII well-log files (a few lines naming the curves and their
units, then one line of numbers per depth) into LAS files that follow the
CWLS Log ASCII Standard 2.00, unwrapped. A four-page wizard leads the user
through choosing the file, marking its header and data lines, naming the
curves and entering the well details; every choice is kept in a .lah
configuration file. Wrapped LAS files are offered for unwrapping. LAS
files of any size open in a window that plots their curves against depth.

The package holds the desktop program (corvane) with its HTML manual and
the headless command line (corvane-cli convert, preview, inspect, unwrap,
plot), and the Python 3 module corvane (LAS files read into numpy arrays,
checked and converted from Python).")

include(CPack)
