# What `cmake --install` puts where, and the Debian package that `cpack -G DEB` makes of it.
install(TARGETS orvenne-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Loaded at run time from the programs' folder, then from the installed library folder
# (platform::InstalledLibraryFolder): on Windows a DLL lies beside the programs.
install(TARGETS corvask LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
                        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The language files: every one there is, so that a new language needs no change here.
file(GLOB language_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/lang/*.lng)
if(language_files)
  if(WIN32)
    install(FILES ${language_files} DESTINATION ${CMAKE_INSTALL_BINDIR})
  else()
    install(FILES ${language_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/orvenne)
  endif()
endif()

if(ORVENNE_GUI)
  install(TARGETS orvenne RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(NOT WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/${ORVENNE_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    configure_file(${PROJECT_SOURCE_DIR}/resources/${ORVENNE_APP_ID}.metainfo.xml.in
                   ${PROJECT_BINARY_DIR}/${ORVENNE_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/${ORVENNE_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach(size 16 32 48 64 128 256)
      install(FILES ${PROJECT_SOURCE_DIR}/resources/orvenne_${size}.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
              RENAME ${ORVENNE_APP_ID}.png)
    endforeach()
  endif()
endif()

set(CPACK_PACKAGE_NAME orvenne)
set(CPACK_PACKAGE_VENDOR "The Orvenne developers")
set(CPACK_PACKAGE_CONTACT "The Orvenne developers <orvenne@orvenne.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvenne opens the field archive of the PC game Final Fantasy VII, lets translators and \
modders edit the texts and dialogue windows of every level, and writes an archive that the game \
loads. orvenne-cli does the same from the command line: listing, comparison, export to and \
import from JSON and PO files.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries the programs link are found by dpkg-shlibdeps; Qt's platform plugins, which
# the editor loads at run time, are not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(ORVENNE_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
  # Qt's own texts (standard buttons, file dialogs) in the language of the interface.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
endif()
include(CPack)
