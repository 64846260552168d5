# Installation into the standard folders and the Debian package (cpack -G DEB).
#   bin/trickvault, bin/tkv
#   share/trickvault/           the data an installed program seeds the user's folder with (the demo
#                               profile, the help, the skins that ship)
#   share/applications, share/mime/packages, share/metainfo, share/icons/hicolor/...

set(tkv_desktop_out "${PROJECT_BINARY_DIR}/desktop")

# The desktop entry, the mime package and the shortcut icons come from the program's own code.
add_custom_command(
  OUTPUT "${tkv_desktop_out}/applications/trickvault.desktop"
  COMMAND tkv desktop-files "${tkv_desktop_out}"
  DEPENDS tkv
  COMMENT "Writing the desktop files"
  VERBATIM)

# The program's icon in the sizes desktops ask for, drawn from the one picture.
set(tkv_icon_svg "${PROJECT_SOURCE_DIR}/data/desktop/trickvault.svg")
set(tkv_icon_pngs "")
foreach(size 16 22 24 32 48 64 128 256)
  set(png "${tkv_desktop_out}/icons/hicolor/${size}x${size}/apps/trickvault.png")
  add_custom_command(
    OUTPUT "${png}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${tkv_desktop_out}/icons/hicolor/${size}x${size}/apps"
    COMMAND convert -background none -density 384 "${tkv_icon_svg}" -resize ${size}x${size} "PNG32:${png}"
    DEPENDS "${tkv_icon_svg}"
    VERBATIM)
  list(APPEND tkv_icon_pngs "${png}")
endforeach()
configure_file("${PROJECT_SOURCE_DIR}/data/desktop/example.trickvault.Trickvault.metainfo.xml.in"
               "${tkv_desktop_out}/metainfo/example.trickvault.Trickvault.metainfo.xml" @ONLY)
add_custom_target(desktop_files ALL DEPENDS "${tkv_desktop_out}/applications/trickvault.desktop" ${tkv_icon_pngs})

install(TARGETS trickvault tkv RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${PROJECT_BINARY_DIR}/bin/profiles/demo/main.dat" DESTINATION "${TKV_DATA_INSTALL_DIR}/profiles/demo")
install(DIRECTORY "${PROJECT_BINARY_DIR}/bin/languages/english" DESTINATION "${TKV_DATA_INSTALL_DIR}/languages")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/skins/" DESTINATION "${TKV_DATA_INSTALL_DIR}/skins")
install(DIRECTORY "${tkv_desktop_out}/" DESTINATION "${CMAKE_INSTALL_DATADIR}")
install(FILES "${tkv_icon_svg}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

set(CPACK_PACKAGE_NAME trickvault)
set(CPACK_PACKAGE_VENDOR "Trickvault Team")
set(CPACK_PACKAGE_CONTACT "Trickvault Team <info@trickvault.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cheat codes, hints and walkthroughs for computer and console games")
set(CPACK_PACKAGE_DESCRIPTION
    "Trickvault keeps the publisher's database of games with their cheats, hints, walkthroughs, files and
home pages, one profile per gaming platform, together with the user's own notes and games.")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://www.trickvault.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries' packages come from the binaries (dpkg-shlibdeps); opening addresses and files and
# updating the desktop's caches need these.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, desktop-file-utils")
include(CPack)
