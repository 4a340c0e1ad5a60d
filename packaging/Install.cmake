# Installs the Linux program the Filesystem Hierarchy Standard's way and packs
# it as a Debian package (`cmake --build <build> --target package`):
#   bin/durmivela
#   share/durmivela/Leng/*.lng, share/durmivela/Durmivela.chm,
#   share/durmivela/html/ (the same help as web pages)
#     (the program reads them from <its folder>/../share/durmivela/)
#   share/applications, share/metainfo, share/icons/hicolor, share/man/man1,
#   share/doc/durmivela
# The desktop entry and the AppStream file share one reverse-DNS name, which is
# what AppStream looks a desktop entry up by.

include(GNUInstallDirs)

set(DURMIVELA_APP_ID org.example.Durmivela)
set(packaging ${CMAKE_CURRENT_LIST_DIR})

# A release without its entry in the AppStream file would ship stale metadata.
file(READ ${packaging}/${DURMIVELA_APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "packaging/${DURMIVELA_APP_ID}.metainfo.xml has no <release> for ${PROJECT_VERSION}")
endif()

install(TARGETS durmivela RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${DURMIVELA_LANGUAGE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/durmivela/Leng)
install(FILES ${packaging}/${DURMIVELA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${DURMIVELA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 256)
  set(icon ${PROJECT_SOURCE_DIR}/resources/durmivela-${size}.png)
  if(size EQUAL 32)
    set(icon ${PROJECT_SOURCE_DIR}/resources/durmivela.png)
  endif()
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME durmivela.png)
endforeach()

# Debian wants manual pages and changelogs gzipped at -9, without the name and
# time stamp that would make every build differ.
set(compressed ${CMAKE_CURRENT_BINARY_DIR}/packaging)
add_custom_command(
  OUTPUT ${compressed}/durmivela.1.gz ${compressed}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${compressed}
  COMMAND sh -c "gzip -9n <\"$0\" >\"$1\" && gzip -9n <\"$2\" >\"$3\""
          ${packaging}/durmivela.1 ${compressed}/durmivela.1.gz
          ${packaging}/changelog ${compressed}/changelog.gz
  DEPENDS ${packaging}/durmivela.1 ${packaging}/changelog
  VERBATIM)
add_custom_target(durmivela_packaging_docs ALL
  DEPENDS ${compressed}/durmivela.1.gz ${compressed}/changelog.gz)
install(FILES ${compressed}/durmivela.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# GNUInstallDirs' DOCDIR would be share/doc/Durmivela, after the project.
install(FILES ${packaging}/copyright ${compressed}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/durmivela)
install(FILES ${packaging}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME durmivela)

# help/ comes after this file and builds the help file only where chmcmd is:
# decided once every folder is read. Its pages as they are, for desktops
# without a CHM viewer, need no compiler and ship in any case.
function(durmivela_install_help)
  foreach(page IN LISTS DURMIVELA_HELP_HTML)
    get_filename_component(folder ${page} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/help/${page} DESTINATION ${CMAKE_INSTALL_DATADIR}/durmivela/html/${folder})
  endforeach()
  if(TARGET durmivela_help)
    install(FILES ${CMAKE_BINARY_DIR}/Durmivela.chm DESTINATION ${CMAKE_INSTALL_DATADIR}/durmivela)
  else()
    message(WARNING "The package will have no help file: chmcmd was not found")
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL durmivela_install_help)

# The Debian package, durmivela_<version>_<arch>.deb in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME durmivela)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Durmivela developers")
set(CPACK_PACKAGE_CONTACT "The Durmivela developers <durmivela@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "switches the computer off on a schedule")
# Lines kept under 80 columns, as Debian's tools show them unwrapped.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Durmivela switches the computer off at a clock time, or after one of eleven"
  "delays from 5 seconds to 10 hours. While it waits it sits in the"
  "notification area."
  ""
  "Before the shutdown it can write a log record and keep a screenshot of the"
  "whole screen. The shutdown is asked of systemd-logind over D-Bus. Its texts"
  "come from language files, in Spanish, English, French, German, Brazilian"
  "Portuguese and Italian.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${DURMIVELA_WEB_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opened with dlopen at the first update, so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4")
# Wayland sessions (GNOME's default) need Qt's Wayland platform plugin; Qt
# opens files and web pages, and the help looks for a CHM viewer, through
# xdg-utils. Without a CHM viewer the help opens in the browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xchm | kchmviewer")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
