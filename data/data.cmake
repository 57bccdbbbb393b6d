# What a package installs beside the two programs: the desktop entry, the icon
# in the hicolor theme, the AppStream metadata, the manual page, the shell
# completion and the file managers' "Add to Talvo shelf" actions.
include(GNUInstallDirs)
set(talvo_data ${CMAKE_SOURCE_DIR}/data)

install(FILES ${talvo_data}/com.talvo.Talvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${talvo_data}/com.talvo.Talvo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${talvo_data}/icons/${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME com.talvo.Talvo.png)
endforeach()

configure_file(${talvo_data}/com.talvo.Talvo.metainfo.xml ${CMAKE_CURRENT_BINARY_DIR}/com.talvo.Talvo.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/com.talvo.Talvo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog, compressed as Debian wants them.
set(talvo_compressed)
foreach(page talvo.1 talvo-helper.1 changelog)
    configure_file(${talvo_data}/${page} ${CMAKE_CURRENT_BINARY_DIR}/${page} @ONLY)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz
        COMMAND gzip -9nf -k ${CMAKE_CURRENT_BINARY_DIR}/${page}
        DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${page} VERBATIM)
    list(APPEND talvo_compressed ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
endforeach()
add_custom_target(talvo_compressed_docs ALL DEPENDS ${talvo_compressed})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/talvo.1.gz ${CMAKE_CURRENT_BINARY_DIR}/talvo-helper.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/talvo)

install(FILES ${talvo_data}/talvo.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME talvo)
install(FILES ${talvo_data}/filemanager/com.talvo.Talvo.addtoshelf.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kio/servicemenus)
install(FILES ${talvo_data}/filemanager/talvo-add.nemo_action DESTINATION ${CMAKE_INSTALL_DATADIR}/nemo/actions)
install(FILES ${talvo_data}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/talvo)
