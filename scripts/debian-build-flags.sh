# Sourced: Debian's own compiler and linker flags, with every hardening option, as
# CMake configure arguments in the array debian_build_flags. The package is built with
# them, and so is the tested release tree, so that the package can be made from it.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
debian_build_flags=(
    "-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
    "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)"
)
