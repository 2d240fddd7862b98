# The .deb: quorvex-editor_<version>-<revision>_amd64.deb, its dependencies from
# dpkg-shlibdeps, and a postinst and postrm that tell udev of its rule.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUORVEX_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUORVEX_HOMEPAGE}")
# CPack puts the summary (CPACK_PACKAGE_DESCRIPTION_SUMMARY) above this text.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Sets the functions of the Quorvex USB gaming mouse's buttons in two
profiles, its DPI levels, report rate and light, its four fire-key modes,
and records and edits the 32 macros the mouse plays by itself. Profiles
and macros are saved to files, and each mouse's settings are backed up
before they are written.
.
quorvex-ctl does the same from a terminal and in scripts.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A postrm of our own also keeps CPack from adding ldconfig for the settings module, which is
# no shared library of the system's.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/postinst
    ${CMAKE_CURRENT_LIST_DIR}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
