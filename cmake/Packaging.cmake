# The Debian package, made by CPack from what `cmake --install` installs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME soakmark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Soakmark developers")
set(CPACK_PACKAGE_CONTACT "${SOAKMARK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "drip irrigation calculator: applied water and wetting fronts")
set(CPACK_PACKAGE_DESCRIPTION
    "Soakmark is a small desktop calculator for growers and irrigation advisers\n\
who design or check a drip-irrigated block. From the emitter application\n\
rate, the duration and the lateral and emitter spacings it shows the\n\
applied water as a depth in millimetres, in litres per emitter and in\n\
megalitres per hectare, and it draws the wetting front under one emitter\n\
for a wide and a narrow soil pattern in two zoomable charts.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# Install with DESTDIR and the real prefix, so that the menu entry names /usr/bin/soakmark.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SOAKMARK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the linked libraries: Qt's X11 platform plugin, and the fonts that
# stand in for the design's.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

include(CPack)
