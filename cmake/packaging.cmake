# Installing bottles on Linux (the program, its desktop entry, icons made from
# the XPM, AppStream data) and packing that into a .deb with CPack.
# Included from the top-level CMakeLists.txt; the Windows build has its zip.
if(CMAKE_CROSSCOMPILING OR NOT BOTTLES_QT)
  return()
endif()

include(GNUInstallDirs)
set(BOTTLES_APP_ID org.example.bottles)
set(bottles_packaging_dir ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS bottles RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${bottles_packaging_dir}/${BOTTLES_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${bottles_packaging_dir}/${BOTTLES_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Debian looks for the licence of a package under this name.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

include(${PROJECT_SOURCE_DIR}/cmake/icons.cmake)
set(bottles_icon_pngs)
foreach(size 32 64 128)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${BOTTLES_APP_ID}-${size}.png)
  bottles_icon_png(${png} ${size})
  list(APPEND bottles_icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${BOTTLES_APP_ID}.png)
endforeach()
add_custom_target(bottles_icons ALL DEPENDS ${bottles_icon_pngs})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME bottles)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The bottles authors")
set(CPACK_PACKAGE_CONTACT "The bottles authors <bottles@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL http://bottles.example.org)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "logic puzzle: share 21 bottles among 3 tables")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "A one-window puzzle with a Bulgarian interface. There are 21 bottles of
one size, 7 full, 7 half full and 7 empty, to be spread over 3 tables so that
every table gets 7 bottles and the same volume of drink.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories in the package are 0755 whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps adds the Qt, C++ and C libraries the program links against.
# The xcb platform plugin is loaded at run time, so no linker sees it, and
# the window's font (Liberation Serif standing in for Times New Roman) and
# Qt's Bulgarian translation of its own texts too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2")

include(CPack)
