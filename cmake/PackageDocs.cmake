# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# The documents a Debian package carries beside the program: the copyright
# file, the changelog and the manual pages of the three executables. The
# pages are made at build time by help2man from each program's --help, with
# an English introduction from packaging/man/; a machine without help2man
# builds without them.
include(GNUInstallDirs)
set(tm_docs_dir ${CMAKE_BINARY_DIR}/packagedocs)
file(MAKE_DIRECTORY ${tm_docs_dir}/man1)
file(MAKE_DIRECTORY ${tm_docs_dir}/runtime)
file(CHMOD ${tm_docs_dir}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

add_custom_command(OUTPUT ${tm_docs_dir}/changelog.gz
  COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${tm_docs_dir}/changelog.gz
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog VERBATIM)
set(tm_doc_outputs ${tm_docs_dir}/changelog.gz)

find_program(TM_HELP2MAN help2man)
if(TM_HELP2MAN)
  # program | one-line description for the NAME section
  set(tm_man_pages
    "tellmarin|CTI-Anbindung der Telefonanlage an Outlook und den lokalen PIM-Speicher"
    "tellmarin-pim|Kommandozeilenwerkzeug des lokalen PIM-Speichers"
    "tellmarin-viewer|zeigt den lokalen PIM-Speicher und die Fenster der Anrufe")
  foreach(entry IN LISTS tm_man_pages)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 program)
    list(GET parts 1 summary)
    set(page ${tm_docs_dir}/man1/${program}.1.gz)
    set(include_file ${PROJECT_SOURCE_DIR}/packaging/man/${program}.h2m)
    # Without a display, with every message answered at once: help2man
    # must never wait for a window.
    add_custom_command(OUTPUT ${page}
      COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              TELLMARIN_AUTOANSWER=1 TEMP=${tm_docs_dir}/temp
              XDG_CONFIG_HOME=${tm_docs_dir}/config XDG_DATA_HOME=${tm_docs_dir}/data
              XDG_RUNTIME_DIR=${tm_docs_dir}/runtime
              timeout 300 ${TM_HELP2MAN} --locale=C.UTF-8 --no-info --no-discard-stderr --section=1 --version-string=${PROJECT_VERSION}
              --name=${summary} --include=${include_file}
              --output=${tm_docs_dir}/man1/${program}.1 $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${tm_docs_dir}/man1/${program}.1
      DEPENDS ${program} ${include_file} VERBATIM)
    list(APPEND tm_doc_outputs ${page})
    install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
else()
  message(STATUS "help2man not found: no manual pages")
endif()
add_custom_target(tm_package_docs ALL DEPENDS ${tm_doc_outputs})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${tm_docs_dir}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tellmarin)
