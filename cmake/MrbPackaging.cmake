# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# The Debian package, made by `cpack -G DEB` from the install rules. Its
# dependencies come from dpkg-shlibdeps, plus the Qt platform plugins that
# the window loads at run time; it carries no maintainer scripts (the
# component library's registration is a file it ships).
set(CPACK_PACKAGE_NAME marrowby)
set(CPACK_PACKAGE_VENDOR "The Marrowby developers")
set(CPACK_PACKAGE_CONTACT "The Marrowby developers <developers@marrowby.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make listings of files and folders")
# the extended description; CPack puts the summary above it and indents it
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Marrowby makes listings of files and folders. Browse the machine's drives
and folders, collect exactly the items you want, one by one or a folder with
everything below it, and write them out as a text table, a web page, a
workbook, an M3U or PLS playlist or a plain list of paths.

The package holds the desktop program mrb, its component library, and
mrb-list, which runs the same listing and output code without a window.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://marrowby.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gvfs-backends")
include(CPack)
