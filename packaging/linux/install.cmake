# The Linux install: programs, settings module, desktop entry, icon, metainfo, udev rule, shell
# completion and the package's documents. The manual pages come with their programs
# (cmake/HelpText.cmake).
foreach(program quorvex-editor quorvex-ctl)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
if(TARGET quorvex-desktop-settings)
    install(TARGETS quorvex-desktop-settings LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/quorvex)
endif()
set(linux ${CMAKE_CURRENT_LIST_DIR})
install(FILES ${linux}/${QUORVEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${linux}/${QUORVEX_APP_ID}.metainfo.xml.in ${QUORVEX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${QUORVEX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/skin/src/MAINICON.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUORVEX_APP_ID}.svg)
install(FILES ${PROJECT_SOURCE_DIR}/resources/skin/MAINICON.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps
        RENAME ${QUORVEX_APP_ID}.png)
# udev reads rules from <prefix>/lib/udev/rules.d for the /usr prefix; never lib64 or a multiarch
# folder, so not CMAKE_INSTALL_LIBDIR.
install(FILES ${linux}/70-quorvex-mouse.rules DESTINATION lib/udev/rules.d)
install(FILES ${linux}/quorvex-ctl.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME quorvex-ctl)

# Debian's documents: the copyright and the changelog, compressed without a time stamp.
set(doc ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/copyright DESTINATION ${doc})
# The changelog's date as Debian writes it (RFC 5322), from the day of the release.
execute_process(COMMAND date -u -R -d "${QUORVEX_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE QUORVEX_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${linux}/changelog.Debian.in changelog.Debian @ONLY)
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian)
add_custom_command(OUTPUT ${changelog}.gz
                   COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${changelog} ${changelog}.gz
                   DEPENDS ${changelog} VERBATIM)
add_custom_target(quorvex_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz DESTINATION ${doc})

install(FILES ${linux}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME ${CPACK_PACKAGE_NAME})

add_test(NAME packaging_installs_and_validates
         COMMAND bash ${linux}/check_install.sh ${CMAKE_BINARY_DIR}
                 ${CMAKE_BINARY_DIR}/install-check ${QUORVEX_APP_ID}
                 ${CMAKE_INSTALL_LIBDIR})
add_test(NAME packaging_completes_quorvex_ctl
         COMMAND bash ${linux}/check_completion.sh ${linux}/quorvex-ctl.bash-completion
                 $<TARGET_FILE:quorvex-ctl>)
