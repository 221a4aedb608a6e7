# Installing Torvane as a desktop application, and its Debian package (cpack -G DEB).
include(GNUInstallDirs)
set(TORVANE_ID org.example.marnoft.Torvane)
set(program ${CMAKE_INSTALL_DATADIR}/torvane/program)

install(TARGETS torvane torvane-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The modules, where the program looks for them: lib/torvane/modules beside its folder.
install(TARGETS torvane_network torvane_svg LIBRARY DESTINATION lib/torvane/modules)
# The program folder's template, copied into each user's own at the first start.
install(FILES dist/Data/Appliances.csv dist/Data/Torvane.ini DESTINATION ${program}/Data)
install(FILES dist/Help/index.htm DESTINATION ${program}/Help)
install(DIRECTORY DESTINATION ${program}/Log)

install(FILES packaging/desktop/${TORVANE_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/desktop/${TORVANE_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/icons/torvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${TORVANE_ID}.svg)
install(DIRECTORY packaging/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Manual pages and the changelog, compressed as Debian keeps them.
set(compressed)
foreach(file doc/torvane.1 doc/torvane-calc.1 packaging/changelog.Debian)
    get_filename_component(name ${file} NAME)
    add_custom_command(OUTPUT ${name}.gz
        COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/${file} > ${name}.gz
        DEPENDS ${PROJECT_SOURCE_DIR}/${file} VERBATIM)
    list(APPEND compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/torvane.1.gz ${CMAKE_CURRENT_BINARY_DIR}/torvane-calc.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VENDOR Marnoft)
set(CPACK_PACKAGE_CONTACT "Marnoft <support@marnoft.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "what an electrical appliance really costs to run")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Torvane tells a household what an electrical appliance really costs to run, and
whether a replacement pays for itself: the kWh, the cost per day, per month or
quarter and over a payback period of 1 to 10 years (replacement purchases
included), the standby share, the CO2, and the differences between two items.
A batch tool, torvane-calc, works through many comparisons from a CSV file.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.marnoft.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_STRIP_FILES ON)
include(CPack)
