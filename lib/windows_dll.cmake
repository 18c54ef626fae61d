# TESSEL_CAT.dll: the exports of the module-definition file, under their plain
# names, and an import library for callers that include the public header.
set(TESSEL_DEF_FILE ${CMAKE_CURRENT_BINARY_DIR}/TESSEL_CAT.def)
list(JOIN TESSEL_DEF_NAMES "\n    " TESSEL_DEF_LINES)
# Written through a copy that changes the file only when its content does
# (file(CONFIGURE) would take "@4" for a variable reference).
file(WRITE ${TESSEL_DEF_FILE}.new "LIBRARY TESSEL_CAT.dll\nEXPORTS\n    ${TESSEL_DEF_LINES}\n")
configure_file(${TESSEL_DEF_FILE}.new ${TESSEL_DEF_FILE} COPYONLY)
target_sources(TESSEL_CAT PRIVATE ${TESSEL_DEF_FILE})
set_target_properties(TESSEL_CAT PROPERTIES
    PREFIX ""
    IMPORT_PREFIX ""
    OUTPUT_NAME TESSEL_CAT
    LINK_DEPENDS ${TESSEL_DEF_FILE})
# --kill-at exports "f_iPageMaker2RTF@4" as "f_iPageMaker2RTF". The linker's
# own import library would then lose the decorated names a 32-bit caller's
# __stdcall declarations refer to, so dlltool writes it from the same
# definitions: decorated symbols that import the plain names.
target_link_options(TESSEL_CAT PRIVATE -Wl,--kill-at -Wl,--no-undefined)
find_program(TESSEL_DLLTOOL NAMES ${TESSEL_MINGW_TRIPLE}-dlltool dlltool REQUIRED)
add_custom_command(TARGET TESSEL_CAT POST_BUILD
    COMMAND ${TESSEL_DLLTOOL} --kill-at --input-def ${TESSEL_DEF_FILE}
        --dllname TESSEL_CAT.dll --output-lib $<TARGET_LINKER_FILE:TESSEL_CAT>
    VERBATIM)
