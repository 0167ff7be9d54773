# Installation into the usual Linux places, and a .deb built with CPack.
include(GNUInstallDirs)

install(TARGETS Pontrel Pontrel1 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/pontrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/pontrel-macro.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES packaging/icons/pontrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
    install(FILES packaging/icons/pontrel-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME pontrel.png)
endforeach()
install(FILES packaging/Pontrel.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/Pontrel.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 RENAME Pontrel1.1)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs FILES_MATCHING PATTERN "*.png")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pontrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Pontrel <pontrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Makroprogramm für Maus, Tastatur und System unter X11")
set(CPACK_PACKAGE_DESCRIPTION
    "Pontrel stellt Befehlsfolgen zusammen und spielt sie ab: Wartezeiten, Mausbewegungen und \
-klicks, Texteingaben auf jedem Tastaturlayout, einen Zähler in der Zwischenablage, Programmstart, \
PC-Befehle, CD-Laufwerk, Bildschirmfotos und das Warten auf eine Pixelveränderung. Gestartet und \
gestoppt wird mit globalen Funktionstasten.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the X11 platform plugin of Qt, Qt's German texts for its dialogs and the
# fonts the window is laid out in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-dejavu-core, fonts-dejavu-extra")
# dbus-send lets the watchdog of an input block on KDE Plasma switch the devices on again.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, dbus-bin")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
