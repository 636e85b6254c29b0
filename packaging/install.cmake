# Installing the game (cmake --install, to any prefix) and packaging it (cpack: a .deb and a .tar.gz).
#
#   <prefix>/lib/kestrova-reboot/   the program with its default config.txt and its data folder (or data.7z)
#   <prefix>/bin/kestrova           a relative symbolic link to it; the program finds its data beside the
#                                   executable the link points at
#   <prefix>/share/applications/    the desktop entry, <prefix>/share/metainfo/ the AppStream entry
#   <prefix>/share/icons/hicolor/   the icon at 48, 128 and 256 pixels, made by the asset builder
#
# An installed game's folder is not the player's to write, so the game keeps what it writes in
# ~/.local/share/kestrova-reboot (engine/core/user_folder.h).
include(GNUInstallDirs)

set(KESTROVA_VERSION "1.3d")
set(KESTROVA_RELEASE_DATE "2026-12-10")
set(KESTROVA_APP_ID "org.vorta5.KestrovaReboot")
set(KESTROVA_MAINTAINER "Kestrova Reboot developers <kestrova-reboot@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(KESTROVA_GAME_DIR "lib/kestrova-reboot" CACHE STRING "Folder of the installed game, under the prefix")

install(TARGETS kestrova RUNTIME DESTINATION ${KESTROVA_GAME_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/game/config.txt DESTINATION ${KESTROVA_GAME_DIR})
if(VORTA5_PACK_DATA)
    install(FILES ${VORTA5_RUNTIME_DIR}/data.7z DESTINATION ${KESTROVA_GAME_DIR})
else()
    install(DIRECTORY ${VORTA5_RUNTIME_DIR}/data DESTINATION ${KESTROVA_GAME_DIR})
endif()

# The command on the PATH: bin/kestrova -> ../lib/kestrova-reboot/kestrova, made at install time so that it
# works under any prefix and DESTDIR.
file(RELATIVE_PATH kestrova_link_target /bin /${KESTROVA_GAME_DIR}/kestrova)
install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/kestrova\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK \"${kestrova_link_target}\" \"\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
    message(STATUS \"Installing: \${link} -> ${kestrova_link_target}\")")

install(FILES ${CMAKE_CURRENT_LIST_DIR}/${KESTROVA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${CMAKE_CURRENT_LIST_DIR}/${KESTROVA_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${KESTROVA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${KESTROVA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon: the asset builder renders assets/icons/kestrova.pic as data/icons/kestrova-<size>.png.
foreach(size 48 128 256)
    install(FILES ${VORTA5_RUNTIME_DIR}/data/icons/kestrova-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${KESTROVA_APP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrova-reboot)

# Packages: cpack --config build/CPackConfig.cmake (or cmake --build build --target package).
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_PACKAGE_NAME "kestrova-reboot")
set(CPACK_PACKAGE_VERSION "${KESTROVA_VERSION}")
set(CPACK_PACKAGE_VENDOR "Kestrova Reboot developers")
set(CPACK_PACKAGE_CONTACT "${KESTROVA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "jet-pack and moon-buggy arcade shooter")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A 2D arcade game for one player, or two taking turns: a jet-pack pilot flies over a wrapping strip\n"
    "of the moon, drives a moon buggy, lays bridges, shoots twelve kinds of aliens and carries a bomb,\n"
    "two teleporters and a gun to win each level's duel with an alien missile base.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_FILE_NAME "kestrova-reboot-${KESTROVA_VERSION}-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KESTROVA_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time (not linked), so the library scan does not see it: OpenGL through libepoxy and SDL.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
