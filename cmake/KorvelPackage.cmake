# The Debian package (cpack -G DEB): korvel_<version>_amd64.deb, its library
# dependencies computed from the binaries (dpkg-shlibdeps), plus what the
# binaries load at run time without linking it.
set(KORVEL_MAINTAINER "Korvel developers <korvel@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KORVEL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "goods rank checker and tracker for group-buying sellers")
set(CPACK_PACKAGE_DESCRIPTION
"Korvel finds a goods item's rank among the first 1000 entries of a
group-buying marketplace's listings: keyword search under five sort orders,
category listings, browsing tabs and new goods. Its rank board checks many
keywords for the seller's goods and competitors at once, keeps every check
in a history, charts it, re-checks on a schedule and tells what changed.
.
The package holds the window (korvel), the command line (korvel-check),
systemd user units for scheduled board checks and a local marketplace
simulator for trying it out.")
# The install rules write the service with the final path to korvel-check:
# the staging directory must come in as DESTDIR, and the prefix be /usr
# whatever this build was configured with.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KORVEL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The browser engine's helper process comes with its library's dependencies;
# the Chinese glyphs and Qt's Chinese dialog texts are loaded, not linked, so
# shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
