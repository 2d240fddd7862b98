# The Windows download: quorvex-editor-<version>-windows-x64.zip with the program, a short
# README.txt and the copyright, both with Windows line ends.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME quorvex-editor-${PROJECT_VERSION}-windows-x64)
install(TARGETS quorvex-editor RUNTIME DESTINATION .)
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/copyright COPYRIGHT.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/COPYRIGHT.txt
        DESTINATION .)
