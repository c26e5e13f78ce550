# SPDX-License-Identifier: GPL-3.0-or-later
# make package: a .deb of what the install rules put in place (with the copyright file, the
# changelog and the man pages where Debian wants them), its dependencies computed from the
# libraries the programs link. tests/packaging/tst_package.sh holds it to lintian.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qncf)
# The version as the programs show it ("3.08", not CPack's "3.8"); the changelog's is the same.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quintrel)
set(CPACK_PACKAGE_CONTACT ${QNCF_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QNCF_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configure Quintrel protocol converters over a serial port")
# Each line goes into the control file after one blank, within lintian's 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "\
QNCF configures Quintrel industrial protocol converters: the model's network,\n\
serial and protocol parameters, configuration files, download into the unit\n\
and upload from it over a serial port, the summary printed or saved as a PDF\n\
file, a terminal to the unit's off-line manager and a list of the active nodes\n\
of a DH+ network. qncf-cli does the same from scripts; qnsim is a simulated\n\
converter for trying everything without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_QNCF_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debstrip.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its Wayland platform at run time; without it the windows go through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
