# One help text per program gives both its --help and its manual page (tools/help-page).
#
#   quorvex_help_text(<target> <source>)
#
# <target> can include "<name>_help.h" (kHelpText), <name> being the source's file name without
# its extension; <name>.1.gz is made beside it for the install (share/man/man1).
function(quorvex_help_text target source)
    get_filename_component(source "${source}" ABSOLUTE)
    get_filename_component(name "${source}" NAME_WE)
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/help")
    file(MAKE_DIRECTORY "${dir}")
    add_custom_command(
        OUTPUT "${dir}/${name}_help.h" "${dir}/${name}.1"
        COMMAND quorvex-help-page "${source}" "${PROJECT_VERSION}" "${dir}/${name}_help.h"
                "${dir}/${name}.1"
        DEPENDS quorvex-help-page "${source}"
        COMMENT "Help text and manual page of ${name}"
        VERBATIM)
    # -n: no name or time in the gzip header, so the page is the same at every build.
    add_custom_command(
        OUTPUT "${dir}/${name}.1.gz"
        COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" "${dir}/${name}.1" "${dir}/${name}.1.gz"
        DEPENDS "${dir}/${name}.1"
        VERBATIM)
    add_custom_target(${target}_manual_page ALL DEPENDS "${dir}/${name}.1.gz")
    target_sources(${target} PRIVATE "${dir}/${name}_help.h")
    target_include_directories(${target} PRIVATE "${dir}")
    install(FILES "${dir}/${name}.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
