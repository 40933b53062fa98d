#!/usr/bin/env bash
# Builds the Debian package korvel_<version>_amd64.deb into the checkout's
# top directory and runs lintian over it.
#   KORVEL_PACKAGE_BUILD_DIR  build directory (default: build-package, an optimised
#                             build without tests and benchmarks; cpack strips it)
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build_dir="${KORVEL_PACKAGE_BUILD_DIR:-build-package}"
# Debian's hardening: fortified functions, stack protector, full RELRO with
# immediate binding.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxx_flags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ld_flags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DKORVEL_TESTS=OFF -DKORVEL_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$cxx_flags" -DCMAKE_EXE_LINKER_FLAGS="$ld_flags" >/dev/null
cmake --build "$build_dir" -j 2
(cd "$build_dir" && cpack -G DEB)

package=$(ls -t "$build_dir"/korvel_*_*.deb | head -n 1)
mv -f "$package" .
package=$(basename "$package")
echo "package: $package"
dpkg-deb --field "$package" Package Version Architecture Depends
# Errors fail the build; warnings and notes are shown.
lintian --fail-on error "$package"
