# The Debian package: scripts/package.sh runs `cpack -G DEB` in the build.
# Library dependencies come from the binaries (dpkg-shlibdeps); the QML
# modules, the desktop launcher tool and the look (icons, sounds, fonts, the
# desktop portal) are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvo)
set(CPACK_PACKAGE_VENDOR "The Talvo developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shelf and widget panel at the top of the screen")
set(CPACK_PACKAGE_DESCRIPTION "Talvo turns the area at the top centre of the screen into an interactive
shelf: a notch that peeks when the pointer comes near, opens into a panel
of widgets (music, weather, calendar, clipboard, downloads, colour picker,
scratchpad) and keeps dropped files and texts until they are dragged out.")
set(CPACK_PACKAGE_CONTACT "The Talvo developers <developers@talvo.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://talvo.com")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml6-module-qtquick, qml6-module-qtquick-window, qml6-module-qtquick-shapes, qml6-module-qtquick-layouts, qml6-module-qtquick-controls, qml6-module-qtquick-templates, qml6-module-qtqml-workerscript, qml6-module-qtpositioning, qml6-module-qt5compat-graphicaleffects, libqt6svg6, libglib2.0-bin, shared-mime-info, dbus")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "adwaita-icon-theme, fonts-material-design-icons-iconfont, fonts-dejavu-core, sound-theme-freedesktop, libcanberra-pulse, xdg-desktop-portal, qt6-image-formats-plugins, libqt6positioning6-plugins, upower")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "vdirsyncer")
include(CPack)
