# Binary packages built by CPack: a .deb and an .rpm holding the tool, its
# manual page and the resource root with its four profile directories.
#
#   cmake -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DVELKIN_BUILD_TESTS=OFF
#   cmake --build build-pkg
#   cd build-pkg && cpack -G DEB && cpack -G RPM
#
# The resource root is installed under its absolute path whatever the install
# prefix; the binary and the manual page go under the prefix, /usr in packages.

set(VELKIN_PACKAGE_CONTACT "velkin-tool maintainers" CACHE STRING
    "Maintainer named in the packages")
# Each library under its Debian 13 name (the 64-bit time_t rebuild, "t64")
# or its Debian 12 name, so that the same fields resolve on both.
set(VELKIN_DEB_DEPENDS
    "libjson-glib-1.0-0, libglib2.0-0t64 | libglib2.0-0, libeina1t64 | libeina1a"
    CACHE STRING "Depends of the .deb when dpkg-shlibdeps is not used")
set(VELKIN_RPM_REQUIRES "json-glib, glib2, efl" CACHE STRING
    "Requires of the .rpm, in the package names of the target distribution")

set(CPACK_PACKAGE_NAME velkin-tool)
set(CPACK_PACKAGE_VENDOR "velkin-tool")
set(CPACK_PACKAGE_CONTACT "${VELKIN_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Splits a device profile's settings menu definition into per-menu JSON files")
set(CPACK_PACKAGE_DESCRIPTION
"velkin-tool reads one menu definition file (menu-tv.json, menu-htv.json,
menu-lfd.json or menu-non-smart-monitor.json) and writes one JSON file per
menu, helper.json and providers.json into the profile's directory under
/usr/apps/tessaly/res/jsons. The package creates that resource root and its
four profile directories, which the tool itself never creates.
velkin-check reports what the splitter would silently get wrong in a
definition; velkin-tree draws the menu the device shows for a definition or
a profile directory (text, JSON, Graphviz, HTML) and what a change does to
it; velkin-lsp brings the checker and navigation over identifiers into
editors as a language server; the JSON Schema of definitions is in /usr/share/velkin-tool.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The tool writes under a fixed absolute path: the packages must not move.
set(CPACK_PACKAGE_RELOCATABLE OFF)
set(CPACK_STRIP_FILES ON)

find_program(VELKIN_RPMBUILD rpmbuild)
set(CPACK_GENERATOR DEB)
if(VELKIN_RPMBUILD)
  list(APPEND CPACK_GENERATOR RPM)
endif()

# Debian
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELKIN_PACKAGE_CONTACT}")
# CPack runs dpkg-shlibdeps on the files that `file` says are ELF objects.
find_program(VELKIN_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(VELKIN_FILE_PROGRAM file)
if(VELKIN_DPKG_SHLIBDEPS AND VELKIN_FILE_PROGRAM)
  set(velkin_shlibdeps_default ON)
else()
  set(velkin_shlibdeps_default OFF)
endif()
option(VELKIN_DEB_SHLIBDEPS
       "Take the .deb's Depends from dpkg-shlibdeps instead of VELKIN_DEB_DEPENDS"
       ${velkin_shlibdeps_default})
if(VELKIN_DEB_SHLIBDEPS)
  # Exact library packages and versions of the build machine, including the
  # platform log library when the build linked the real one.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${VELKIN_DEB_DEPENDS}")
endif()

# RPM
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_GROUP "Applications/System")
set(CPACK_RPM_PACKAGE_REQUIRES "${VELKIN_RPM_REQUIRES}")
# No /usr/lib/.build-id links: the package holds its own files only.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none")
# The resource root's parents belong to the package as well; only the
# standard directories stay out of its file list.
list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
     /usr/share/man /usr/share/man/man1)

include(CPack)
