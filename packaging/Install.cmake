# What `cmake --install` lays out, and the .deb CPack makes of it
# (scripts/package): the two programs, the desktop entry with its icons and
# AppStream metadata, the manual pages, the usage thresholds and the sample
# reports. The programs look for Rand.acc and Seq.acc beside themselves,
# then in share/kovgraph.
include(GNUInstallDirs)

set(kovgraph_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(kovgraph_share ${CMAKE_INSTALL_DATADIR}/kovgraph)

install(TARGETS kovgraph kovgraph-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/samples/Rand.acc ${PROJECT_SOURCE_DIR}/samples/Seq.acc
        DESTINATION ${kovgraph_share})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples/ DESTINATION ${kovgraph_share}/samples
        FILES_MATCHING PATTERN "*.sta" PATTERN "*.sim" PATTERN "*_consolidated.txt")
install(FILES ${kovgraph_packaging}/kovgraph.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${kovgraph_packaging}/kovgraph.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${kovgraph_packaging}/icons/kovgraph-48.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
        RENAME kovgraph.png)
install(FILES ${kovgraph_packaging}/icons/kovgraph-256.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME kovgraph.png)
install(FILES ${kovgraph_packaging}/icons/kovgraph.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Debian wants manual pages and the changelog compressed, reproducibly.
set(kovgraph_compressed)
foreach(source man/kovgraph.1 man/kovgraph-report.1 changelog)
  get_filename_component(name ${source} NAME)
  set(target ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${target}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
                     COMMAND gzip -9n -c ${kovgraph_packaging}/${source} > ${target}
                     DEPENDS ${kovgraph_packaging}/${source} VERBATIM)
  list(APPEND kovgraph_compressed ${target})
endforeach()
add_custom_target(kovgraph_packaging_files ALL DEPENDS ${kovgraph_compressed})
install(FILES ${PROJECT_BINARY_DIR}/packaging/kovgraph.1.gz ${PROJECT_BINARY_DIR}/packaging/kovgraph-report.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz ${kovgraph_packaging}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kovgraph)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kovgraph)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KOVGraph developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "analyser of DB2 buffer-pool statistics and simulation reports")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "KOVGraph reads the statistics and simulation reports a collection tool\n\
writes on the DB2 host and shows the analysis a DBA tunes buffer pools with:\n\
pool activity and top objects, tuning advice that explains itself, scan\n\
costs, simulation graphs, size advice within a memory budget and a cluster\n\
analysis. kovgraph-report prints the same analysis as JSON, text or CSV.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "KOVGraph developers <maintainers@kovgraph.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
