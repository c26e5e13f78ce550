# make package: a .deb of what the install rules put in place, its dependencies computed from
# the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qncf)
set(CPACK_PACKAGE_VENDOR Quintrel)
set(CPACK_PACKAGE_CONTACT "Quintrel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configure Quintrel protocol converters over a serial port")
set(CPACK_PACKAGE_DESCRIPTION "\
QNCF configures Quintrel industrial protocol converters: the model's network, serial and\n\
protocol parameters, configuration files, download into the unit and upload from it over\n\
a serial port, the summary printed or saved as a PDF file, a terminal to the unit's\n\
off-line manager and a list of the active nodes of a DH+ network. qncf-cli does the same\n\
from scripts; qnsim is a simulated converter for trying everything without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its Wayland platform at run time; without it the windows go through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
