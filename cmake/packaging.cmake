# Installation and the Debian package. Included at the end of the top-level CMakeLists.txt, once
# every program target exists.
#
# `cmake --install` lays out the files as a Debian system expects them; `cpack -G DEB` in a
# configured build folder (or scripts/package) makes lorvane_<version>-<revision>_<arch>.deb.

# A package installs below /usr. Set before GNUInstallDirs so that the library folder becomes
# the multiarch one (lib/x86_64-linux-gnu on amd64).
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /usr CACHE PATH "Install prefix" FORCE)
endif()
include(GNUInstallDirs)

set(LORVANE_MAINTAINER "Tessaly Software <lorvane@tessaly.example>"
    CACHE STRING "Maintainer of the Debian package, name and address")
set(LORVANE_DEBIAN_REVISION 1 CACHE STRING "Debian revision of the package")

# The stand-in NI-488.2 library lives in a private folder, where only a program started with
# LD_LIBRARY_PATH pointing there finds it: never where the real linux-gpib library is looked for.
set(LORVANE_SIM_LIBDIR "${CMAKE_INSTALL_LIBDIR}/lorvane/sim")
set(LORVANE_SIM_FULL_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}/lorvane/sim")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(packaged_programs lorvane lorvane-sim lorvane-sweep)

install(TARGETS ${packaged_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS gpib_standin
        LIBRARY DESTINATION ${LORVANE_SIM_LIBDIR} NAMELINK_SKIP
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# Files generated from packaging/: the menu entry and the manual pages carry the install paths
# and the version, and the metadata names the programs. Manual pages and the Debian changelog
# are compressed as Debian wants them.
set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_out ${PROJECT_BINARY_DIR}/packaging)
configure_file(${packaging_dir}/lorvane.desktop.in ${packaging_out}/lorvane.desktop @ONLY)
set(metainfo_binaries)
foreach(program IN LISTS packaged_programs)
  string(APPEND metainfo_binaries "    <binary>${program}</binary>\n")
endforeach()
configure_file(${packaging_dir}/com.tessaly.lorvane.metainfo.xml.in
               ${packaging_out}/com.tessaly.lorvane.metainfo.xml @ONLY)

set(compressed_files)
function(lorvane_compress target)
  add_custom_command(
    OUTPUT ${target}.gz
    COMMAND gzip -9 -n -k -f ${target}
    DEPENDS ${target}
    COMMENT "Compressing ${target}"
    VERBATIM)
  set(compressed_files ${compressed_files} ${target}.gz PARENT_SCOPE)
endfunction()

foreach(program IN LISTS packaged_programs)
  configure_file(${packaging_dir}/man/${program}.1.in ${packaging_out}/man/${program}.1 @ONLY)
  lorvane_compress(${packaging_out}/man/${program}.1)
  install(FILES ${packaging_out}/man/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
configure_file(${packaging_dir}/changelog ${packaging_out}/changelog.Debian COPYONLY)
lorvane_compress(${packaging_out}/changelog.Debian)

add_custom_target(lorvane_package_data ALL DEPENDS ${compressed_files})
# Everything the package holds, built without the tests: scripts/package builds this target.
add_custom_target(lorvane_packaged)
add_dependencies(lorvane_packaged ${packaged_programs} gpib_standin lorvane_package_data)

install(FILES ${packaging_out}/lorvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging_out}/com.tessaly.lorvane.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging_dir}/icons/lorvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
  install(FILES ${packaging_dir}/icons/lorvane-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME lorvane.png)
endforeach()
install(FILES ${packaging_dir}/copyright ${packaging_out}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/lorvane)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lorvane)
set(CPACK_PACKAGE_VENDOR "Tessaly Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${LORVANE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "remote control and data logging for the HP 4192A impedance analyzer")
file(READ ${packaging_dir}/description.txt CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${LORVANE_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins at run time, where shlibdeps cannot see them; without one the
# window cannot open. The libraries the programs link come from shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# linux-gpib's user-space library, as its packaging names it; the program loads it at run time.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS libgpib0)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
