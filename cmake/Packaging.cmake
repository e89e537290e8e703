# The Debian package, made by CPack from the install target: `cpack -G DEB` in a build
# configured with CMAKE_INSTALL_PREFIX=/usr (./package.sh does this).
set(CPACK_PACKAGE_NAME hashigoro)
set(CPACK_PACKAGE_VENDOR "The Hashigoro developers")
set(CPACK_PACKAGE_CONTACT "The Hashigoro developers <developers@hashigoro.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "classroom experiment on the fairness of the ladder lottery")
set(CPACK_PACKAGE_DESCRIPTION
    "Hashigoro (はしごろう) draws ladder lotteries (amidakuji) on ten lines with a chosen\n\
number of random rungs and lets a marker descend from the third line. Trial\n\
after trial, the column where it arrives gets one more red square, so that a\n\
class sees for itself whether every line is equally likely. Japanese texts.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the linker cannot see: Qt's X11 platform plugin, the Japanese gothic that the windows'
# font falls back to, and Qt's Japanese translations for the standard buttons (はい/いいえ/キャンセル).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
