# Debian packages made by `cpack -G DEB` in the build folder: "fingerwise" carries the tutorial
# (install component "tutorial"), "libbrightmoss-controls-dev" the control set for developers
# (component "controls"), so the tutorial's package does not carry the controls.
set(CPACK_PACKAGE_NAME fingerwise)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brightmoss Software")
set(CPACK_PACKAGE_CONTACT "Brightmoss Software <support@brightmoss.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Keyboard tutorial: learn what each key is for")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.brightmoss.com/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL tutorial controls)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The shared libraries the files link against give most of the dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_TUTORIAL_PACKAGE_NAME fingerwise)
set(CPACK_COMPONENT_TUTORIAL_DESCRIPTION
    "Thirty pages, each with an explanation, a keyboard picture with the page's keys in amber, a task and a typing box.")
# Qt's platform plugins are loaded at run time, and the fonts stand in for Tahoma and Arial.
set(CPACK_DEBIAN_TUTORIAL_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, fonts-liberation2")

set(CPACK_DEBIAN_CONTROLS_PACKAGE_NAME libbrightmoss-controls-dev)
set(CPACK_DEBIAN_CONTROLS_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_CONTROLS_DESCRIPTION
    "The Brightmoss 2 Qt Widgets controls: headers, static libraries, CMake package and Qt Designer plugin.")
set(CPACK_DEBIAN_CONTROLS_PACKAGE_DEPENDS "qt6-base-dev")

include(CPack)
