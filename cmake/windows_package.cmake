# The Windows package, made by "cpack" (or the package step of the windows
# workflow preset) in the build folder: a ZIP holding bin\cpp.exe and dat\
# (the message catalogues and the report stylesheet). Unpacked anywhere, the
# program finds its catalogues in the dat folder beside its own.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quev-cpp)
set(CPACK_PACKAGE_VENDOR "MORVANE Software")
set(CPACK_PACKAGE_VERSION ${CPP_VERSION})
set(CPACK_SYSTEM_NAME windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)  # the symbols stay in the build's copy
include(CPack)
