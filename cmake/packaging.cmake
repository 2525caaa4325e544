# Packages of the installed tree, made in the build folder with
#
#   cpack -G DEB    a Debian package that installs under /opt/quev
#   cpack -G TGZ    a tarball holding the same tree (bin/, dat/, share/man/)
#                   under one top folder, to unpack anywhere
#
# The program finds its message catalogues as ../dat beside its own folder,
# so every package keeps bin/ and dat/ side by side. Everything cpack needs is
# set here; a generator's own settings go in its section below and in the
# per-generator file written at the end (read by cpack once per generator).

set(QUEV_PACKAGE_PREFIX "/opt/quev" CACHE PATH
  "Folder the DEB package installs the toolchain into")

# ---- Common to every package ----
set(CPACK_PACKAGE_NAME "quev-cpp")
set(CPACK_PACKAGE_VENDOR "MORVANE Software")
set(CPACK_PACKAGE_CONTACT "MORVANE Software <support@morvane.example>")
set(CPACK_PACKAGE_VERSION "${CPP_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "C preprocessor of the QUEV embedded C toolchain")
set(CPACK_PACKAGE_DESCRIPTION
  "cpp reads one C source file, carries out the preprocessing directives, expands \
macros and writes the preprocessed text with line-synchronisation lines for the \
toolchain's next pass. It also writes dependency lists and make rules, and an HTML \
report of the macros. Installed in the toolchain's folder, so that it does not \
shadow the system's cpp.")
set(CPACK_PACKAGE_CHECKSUM SHA256)
# The packages hold what is installed: the program (stripped of its
# debugging information), its dat/ folder and its manual page.
set(CPACK_STRIP_FILES ON)

# ---- DEB ----
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "devel")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # quev-cpp_3.1-1_amd64.deb
# The program is linked statically (cpp/CMakeLists.txt): it depends on no
# other package.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "")

# ---- TGZ ----
# quev-cpp-3.1-Linux.tar.gz, everything below quev-cpp-3.1-Linux/. Another
# archive generator (ZIP for Windows) lays its tree out the same way: add it
# to CPACK_GENERATOR below; the per-generator file at the end already puts
# every archive's tree at its top.

# ---- ZIP (Windows) ----
# quev-cpp-3.1-windows-x64.zip holding bin\cpp.exe and dat\ at its top:
# unpacked anywhere, the program finds its catalogues in the dat folder
# beside its own.

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR "DEB;TGZ")
endif()
set(CPACK_SOURCE_GENERATOR "")

# Where each generator puts the tree. A system package installs under the
# toolchain folder; an archive holds the tree itself, to be unpacked
# anywhere (bin/cpp then finds ../dat wherever that is).
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_BINARY_DIR}/CPackGenerators.cmake")
file(CONFIGURE OUTPUT "${CPACK_PROJECT_CONFIG_FILE}" CONTENT [[
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX "@QUEV_PACKAGE_PREFIX@")
else()
  set(CPACK_PACKAGING_INSTALL_PREFIX "")
endif()
]] @ONLY)

include(CPack)
