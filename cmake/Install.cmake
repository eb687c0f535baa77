# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# Installation: the program folder is the folder of the real executable, so
# the executables lie with their data files and the manual in one folder
# below the prefix, linked from bin/. Desktop entries open the options
# window and the viewer; an autostart entry starts the viewer in every
# desktop session, so the server accounts are synced (the user can turn it
# off in the session's settings).
include(GNUInstallDirs)
set(TM_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/tellmarin)

set(tm_installed_programs tellmarin tellmarin-pim tellmarin-viewer)
install(TARGETS ${tm_installed_programs} RUNTIME DESTINATION ${TM_PROGRAM_DIR})
install(FILES
  ${PROJECT_SOURCE_DIR}/data/tlLand.txt
  ${PROJECT_SOURCE_DIR}/data/tlVorwahlen.txt
  ${PROJECT_SOURCE_DIR}/data/tlOl.png
  ${PROJECT_SOURCE_DIR}/data/sample-contacts.vcf
  ${CMAKE_BINARY_DIR}/bin/Tellmarin-Handbuch.pdf
  DESTINATION ${TM_PROGRAM_DIR})
foreach(program IN LISTS tm_installed_programs)
  install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK ../${TM_PROGRAM_DIR}/${program}
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\" SYMBOLIC)")
endforeach()
install(FILES
  ${PROJECT_SOURCE_DIR}/data/tellmarin-einstellungen.desktop
  ${PROJECT_SOURCE_DIR}/data/tellmarin-viewer.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/tlOl.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME tellmarin.png)
# The XDG autostart folder lies in /etc whatever the prefix; the package
# marks the entry as a configuration file, so a user's change to it stays.
set(tm_autostart_entry /etc/xdg/autostart/tellmarin-viewer.desktop)
install(FILES ${PROJECT_SOURCE_DIR}/data/tellmarin-viewer-autostart.desktop
  DESTINATION /etc/xdg/autostart RENAME tellmarin-viewer.desktop)
set(tm_control_dir ${CMAKE_BINARY_DIR}/debian-control)
file(WRITE ${tm_control_dir}/conffiles "${tm_autostart_entry}\n")

# cpack -G DEB: a Debian package with the shared libraries it needs declared
# (from dpkg-shlibdeps: among them libical3 for iCalendar and
# libqt6keychain1 for the desktop's Secret Service, which the sync links)
# and xdg-open, which the shell actions use.
set(CPACK_PACKAGE_NAME tellmarin)
set(CPACK_PACKAGE_VENDOR "Tellmarin-Team")
set(CPACK_PACKAGE_CONTACT "Tellmarin-Team <support@tellmarin.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CTI-Anbindung der AGFEO-Telefonanlage an Outlook")
set(CPACK_PACKAGE_DESCRIPTION
  "Tellmarin verbindet den CTI-Client einer AGFEO-Telefonanlage mit Outlook:\n"
  "Kontakte, Journal, Kalender, Aufgaben und E-Mail. Ohne Outlook arbeitet es\n"
  "mit einem lokalen PIM-Speicher.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tellmarin)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${tm_control_dir}/conffiles)
# Qt's German texts for standard buttons and dialogs; without them the
# program works with English buttons.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.tellmarin.example/")
include(CPack)
