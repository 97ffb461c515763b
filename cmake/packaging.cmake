# Installation (GNU directories) and the Debian package.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME veltrix)
set(CPACK_PACKAGE_VENDOR "Norvane Microwave")
set(CPACK_PACKAGE_CONTACT "Norvane Microwave <sales@norvane.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ceramic bandpass filter selection program")
set(CPACK_PACKAGE_DESCRIPTION
    "Veltrix helps an RF engineer choose a standard ceramic coaxial-resonator bandpass filter: it judges\
 an entry against the product line's limits and shows the part number, the insertion loss, the stopband\
 attenuation, a response graph and a tabular report. veltrix-cli runs the same engine from the command line.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY veltrix)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.norvane.example/veltrix.html")
# The libraries come from dpkg-shlibdeps; what the program loads at run time without linking it (the
# fonts its pages are drawn in) is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
