# The desktop game as it is installed (cmake --install, or the .deb that
# cpack makes from the same rules):
#
#   bin/rampartica                      the launcher: makes the player's run
#                                       folder and starts the game in it
#   libexec/rampartica/rampartica       the game itself
#   libexec/rampartica/run_game.sh      display check and SDL choice, shared with ./play
#   libexec/rampartica/rampartica-level the level checker, linked from bin/
#   share/rampartica/                   pictures, font strips and bundled levels
#   share/applications, share/metainfo, share/icons/hicolor   desktop integration
#
# The launcher finds the rest relative to its own location, so an install
# (or an unpacked package) works wherever its prefix is.
include(GNUInstallDirs)

# The project has no public web home yet: the reserved .example domain keeps
# the metainfo valid without pointing at anyone's real site. Set it to where
# the repository's files are published; the screenshots are its docs/*.png.
set(RAMPARTICA_HOMEPAGE "https://rampartica.example" CACHE STRING "Web home of the game (metainfo URLs)")
set(RAMPARTICA_APP_ID org.rampartica.Rampartica)

set(RAMPARTICA_INSTALL_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/rampartica)
set(RAMPARTICA_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/rampartica)

# The launcher's paths to the game and its data: relative to its own folder,
# unless an install directory was given as an absolute path.
foreach(kind GAME DATA)
  set(dir ${RAMPARTICA_INSTALL_${kind}_DIR})
  if(IS_ABSOLUTE "${dir}")
    set(LAUNCHER_${kind} "${dir}")
  elseif(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
    set(LAUNCHER_${kind} "${CMAKE_INSTALL_PREFIX}/${dir}")
  else()
    file(RELATIVE_PATH rel /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${dir})
    set(LAUNCHER_${kind} "\${here}/${rel}")
  endif()
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/desktop/rampartica.in ${PROJECT_BINARY_DIR}/desktop/rampartica @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/desktop/rampartica.desktop.in
               ${PROJECT_BINARY_DIR}/desktop/${RAMPARTICA_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/desktop/rampartica.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/desktop/${RAMPARTICA_APP_ID}.metainfo.xml @ONLY)

install(PROGRAMS ${PROJECT_BINARY_DIR}/desktop/rampartica DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS rampartica RUNTIME DESTINATION ${RAMPARTICA_INSTALL_GAME_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/desktop/run_game.sh DESTINATION ${RAMPARTICA_INSTALL_GAME_DIR})
# The level authors' checker finds the pictures at ../../share/rampartica
# from where it really lies, so it stays beside the game; bin/ gets a link.
install(TARGETS rampartica-level RUNTIME DESTINATION ${RAMPARTICA_INSTALL_GAME_DIR})
file(RELATIVE_PATH level_tool_link /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${RAMPARTICA_INSTALL_GAME_DIR}/rampartica-level)
install(CODE "file(CREATE_LINK \"${level_tool_link}\"
  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/rampartica-level\" SYMBOLIC)")

# The data: what the art tool drew and the level files, not whatever else a
# developer may have put into the run directory to try it out.
install(DIRECTORY ${RAMPARTICA_RUN_DIR}/img DESTINATION ${RAMPARTICA_INSTALL_DATA_DIR}
        FILES_MATCHING PATTERN "*.bmp")
install(FILES ${RAMPARTICA_RUN_DIR}/letters.bmp ${RAMPARTICA_RUN_DIR}/letters_black.bmp
        DESTINATION ${RAMPARTICA_INSTALL_DATA_DIR})
file(GLOB bundled_levels CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/levels
     ${PROJECT_SOURCE_DIR}/levels/*/level.txt)
foreach(level_txt ${bundled_levels})
  get_filename_component(level ${level_txt} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/levels/${level_txt} ${RAMPARTICA_RUN_DIR}/levels/${level}/tiles.bmp
          DESTINATION ${RAMPARTICA_INSTALL_DATA_DIR}/levels/${level})
endforeach()

install(FILES ${PROJECT_BINARY_DIR}/desktop/${RAMPARTICA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${RAMPARTICA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${RAMPARTICA_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/levels.md
        ${PROJECT_SOURCE_DIR}/art/font/ATTRIBUTION.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rampartica)

if(NOT RAMPARTICA_TOP_LEVEL)
  return()  # packaging is the host project's business
endif()

# The Debian package (cpack -G DEB). It needs an SDL 1.2: the classic one, or
# sdl12-compat, which the launcher also finds in its own folder without the
# shim package. dpkg-shlibdeps names the libraries the game links; the SDL
# one is then widened to allow either (see DebianDepends.cmake).
set(CPACK_PACKAGE_NAME rampartica)
set(CPACK_PACKAGE_VENDOR "The Rampartica developers")
set(CPACK_PACKAGE_CONTACT "The Rampartica developers <rampartica@rampartica.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small tower-defense game in retro pixels")
set(CPACK_PACKAGE_DESCRIPTION "Buy turrets, place them beside the path and hold off waves of monsters.
Made for the GP2X handheld (320x240); on a desktop it plays with the
keyboard or a gamepad. Levels are plain text, so players can write their own.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL ${RAMPARTICA_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libsdl1.2-compat)
set(CPACK_STRIP_FILES ON)
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/CPackDebianDepends.cmake
     CONTENT "set(RAMPARTICA_DEB_GAME \"$<TARGET_FILE:rampartica>\")\ninclude(\"${PROJECT_SOURCE_DIR}/cmake/DebianDepends.cmake\")\n")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackDebianDepends.cmake)
include(CPack)
