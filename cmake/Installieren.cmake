# Installation and the Debian package.
#
# The program looks for its table, its help and its change history in the
# folder of its own executable, so the executables and the files that belong
# beside them go into one program folder. On Linux that is
# <prefix>/lib/zeichenwandler, with relative symbolic links in <prefix>/bin as
# launchers (the program resolves the link and still finds its folder), a
# desktop entry, icons and AppStream metadata. On Windows the prefix itself is
# the program folder.

include(GNUInstallDirs)

if(WIN32)
    set(zw_ordner_vorgabe ".")
else()
    set(zw_ordner_vorgabe "lib/zeichenwandler")
endif()
set(ZW_PROGRAMM_ORDNER "${zw_ordner_vorgabe}" CACHE STRING
    "Program folder below the install prefix: the executables and the files beside them")

set(zw_programme zeichenwandler-cli)
if(TARGET zeichenwandler)
    list(APPEND zw_programme zeichenwandler)
endif()
install(TARGETS ${zw_programme} RUNTIME DESTINATION ${ZW_PROGRAMM_ORDNER})

# Whatever data/ copies beside the executables of a build is installed beside
# them too, so a file added there is part of the package without a change here.
get_directory_property(zw_beilagen DIRECTORY ${CMAKE_SOURCE_DIR}/data DEFINITION ZW_BEILAGEN)
list(TRANSFORM zw_beilagen PREPEND ${ZW_AUSGABE_ORDNER}/)
install(FILES ${zw_beilagen} DESTINATION ${ZW_PROGRAMM_ORDNER})

if(UNIX AND NOT APPLE)
    # Launchers: links relative to bin/, so the tree can be moved as a whole
    # (a staging folder, DESTDIR, the package).
    file(RELATIVE_PATH zw_zum_ordner ${CMAKE_INSTALL_FULL_BINDIR}
         ${CMAKE_INSTALL_PREFIX}/${ZW_PROGRAMM_ORDNER})
    set(zw_starter_ordner ${CMAKE_BINARY_DIR}/starter)
    file(MAKE_DIRECTORY ${zw_starter_ordner})
    foreach(programm IN LISTS zw_programme)
        file(CREATE_LINK ${zw_zum_ordner}/${programm} ${zw_starter_ordner}/${programm} SYMBOLIC)
        install(FILES ${zw_starter_ordner}/${programm} DESTINATION ${CMAKE_INSTALL_BINDIR})
    endforeach()

    install(FILES ${CMAKE_SOURCE_DIR}/data/copyright
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zeichenwandler)

    # Manual pages and the package's change log, compressed as Debian keeps them.
    find_program(ZW_GZIP gzip)
    if(ZW_GZIP)
        set(zw_doku ${CMAKE_BINARY_DIR}/doku)
        configure_file(${CMAKE_SOURCE_DIR}/data/changelog.in ${zw_doku}/changelog @ONLY)
        set(zw_gepackt)
        foreach(programm IN LISTS zw_programme)
            configure_file(${CMAKE_SOURCE_DIR}/data/man/${programm}.1 ${zw_doku}/${programm}.1
                           COPYONLY)
            install(FILES ${zw_doku}/${programm}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
            list(APPEND zw_gepackt ${zw_doku}/${programm}.1.gz)
        endforeach()
        install(FILES ${zw_doku}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zeichenwandler)
        list(APPEND zw_gepackt ${zw_doku}/changelog.gz)
        foreach(gepackt IN LISTS zw_gepackt)
            string(REGEX REPLACE "\\.gz$" "" roh ${gepackt})
            add_custom_command(OUTPUT ${gepackt}
                               COMMAND ${ZW_GZIP} -9 -n -k -f ${roh}
                               DEPENDS ${roh}
                               VERBATIM)
        endforeach()
        add_custom_target(zw_doku ALL DEPENDS ${zw_gepackt})
    endif()

    if(TARGET zeichenwandler)
        set(ZW_APPSTREAM_ID org.example.Zeichenwandler)
        install(FILES ${CMAKE_SOURCE_DIR}/data/zeichenwandler.desktop
                DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
        install(FILES ${CMAKE_SOURCE_DIR}/data/${ZW_APPSTREAM_ID}.metainfo.xml
                DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

        set(zw_symbol ${CMAKE_SOURCE_DIR}/data/icons/zeichenwandler.svg)
        install(FILES ${zw_symbol} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
        # Desktops that draw no SVG in menus and panels take these sizes.
        find_program(ZW_RSVG_CONVERT rsvg-convert)
        if(ZW_RSVG_CONVERT)
            set(zw_bilder)
            foreach(groesse 16 22 24 32 48 64 128 256)
                set(bild ${CMAKE_BINARY_DIR}/symbole/${groesse}x${groesse}/zeichenwandler.png)
                add_custom_command(
                    OUTPUT ${bild}
                    COMMAND ${CMAKE_COMMAND} -E make_directory
                            ${CMAKE_BINARY_DIR}/symbole/${groesse}x${groesse}
                    COMMAND ${ZW_RSVG_CONVERT} -w ${groesse} -h ${groesse} -o ${bild} ${zw_symbol}
                    DEPENDS ${zw_symbol}
                    VERBATIM)
                list(APPEND zw_bilder ${bild})
                install(FILES ${bild}
                        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${groesse}x${groesse}/apps)
            endforeach()
            add_custom_target(zw_symbole ALL DEPENDS ${zw_bilder})
        else()
            message(STATUS "rsvg-convert fehlt: das Programmsymbol wird nur als SVG installiert")
        endif()
    endif()
endif()

# The Debian package.
set(CPACK_PACKAGE_NAME zeichenwandler)
set(CPACK_PACKAGE_VENDOR "Zeichenwandler-Gruppe")
set(CPACK_PACKAGE_CONTACT "Zeichenwandler-Gruppe <zeichenwandler@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zeichenumsetzung über Code-Tabellen für Braille-Drucker")
# Lines as dpkg shows them, shorter than 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Zeichenwandler bereitet Texte für blinde Leserinnen und Leser vor. Ein"
    "Textdokument (ANSI, UTF-8, UTF-16 oder RTF) wird geöffnet, jedes Zeichen,"
    "das die Code-Tabelle nennt, durch sein Gegenstück ersetzt, und das Ergebnis"
    "gespeichert, durchsucht oder roh an einen Braille-Drucker geschickt."
    "Dazu gehört das Kommandozeilenwerkzeug zeichenwandler-cli.")
if(ZW_HOMEPAGE)
    set(CPACK_PACKAGE_HOMEPAGE_URL "${ZW_HOMEPAGE}")
else()
    set(CPACK_PACKAGE_HOMEPAGE_URL "https://zeichenwandler.example.org/")
endif()
set(CPACK_STRIP_FILES ON)
if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR DEB)
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
# dpkg-shlibdeps names the libraries the executables link (Qt, CUPS, the C++
# runtime); Qt's German texts are loaded when present.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
