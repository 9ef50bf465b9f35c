# Installing bottles on Linux as Debian installs a game (the program in
# /usr/games, its desktop entry, icons made from the XPM, AppStream data, the
# manual page in English and Bulgarian, the changelogs) and packing that into
# a .deb with CPack.
# Included from the top-level CMakeLists.txt; the Windows build has its zip.
if(CMAKE_CROSSCOMPILING OR NOT BOTTLES_QT)
  return()
endif()

include(GNUInstallDirs)
set(BOTTLES_APP_ID org.example.bottles)
set(bottles_packaging_dir ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS bottles RUNTIME DESTINATION games)
# The compiler's notes (.comment, .note) are of no use to a user; Debian wants
# them out of a shipped program. The build ID and ABI notes (.note.*) stay.
install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/games/bottles\"
                              COMMAND_ERROR_IS_FATAL ANY)")
install(FILES ${bottles_packaging_dir}/${BOTTLES_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${bottles_packaging_dir}/${BOTTLES_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Debian looks for the licence of a package under this name.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
# What lintian need not say of this package, and why.
install(FILES ${bottles_packaging_dir}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME bottles)

# The manual pages and the changelogs, compressed as Debian ships them: at the
# highest level, with no name or time stamp, so that every build is the same.
find_program(BOTTLES_GZIP gzip REQUIRED)
function(bottles_gzip source out)
  add_custom_command(OUTPUT ${out}
    COMMAND ${BOTTLES_GZIP} -9n -c ${source} > ${out}
    DEPENDS ${source}
    COMMENT "Compressing ${out}"
    VERBATIM)
endfunction()
set(bottles_gz ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${bottles_gz} ${bottles_gz}/bg)
bottles_gzip(${bottles_packaging_dir}/man/bottles.6 ${bottles_gz}/bottles.6.gz)
bottles_gzip(${bottles_packaging_dir}/man/bottles.bg.6 ${bottles_gz}/bg/bottles.6.gz)
bottles_gzip(${bottles_packaging_dir}/changelog ${bottles_gz}/changelog.gz)
bottles_gzip(${bottles_packaging_dir}/changelog.Debian ${bottles_gz}/changelog.Debian.gz)
add_custom_target(bottles_docs ALL DEPENDS ${bottles_gz}/bottles.6.gz ${bottles_gz}/bg/bottles.6.gz
                                           ${bottles_gz}/changelog.gz ${bottles_gz}/changelog.Debian.gz)
install(FILES ${bottles_gz}/bottles.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${bottles_gz}/bg/bottles.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/bg/man6)
install(FILES ${bottles_gz}/changelog.gz ${bottles_gz}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

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
# The first packaging of the upstream release, as packaging/changelog.Debian says.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
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
# In a Wayland session the window opens on the compositor itself with Qt's
# plugin for it; without it, on XWayland where there is one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)

include(CPack)
