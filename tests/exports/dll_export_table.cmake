# Checks the export table of TESSEL_CAT.dll: exactly the functions of the
# public header, each under its plain name (no "@N" decoration, no leading
# underscore), and nothing else. Run by CTest on the build machine:
#   cmake -DOBJDUMP=... -DDLL=... -DEXPECTED=name;name;... -P dll_export_table.cmake
execute_process(COMMAND ${OBJDUMP} -p ${DLL}
    OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed (${status})")
endif()
# The names follow the "[Ordinal/Name Pointer] Table" heading, one
# "[   n] name" line each, up to the next empty line.
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" start)
if(start EQUAL -1)
    message(FATAL_ERROR "${DLL} has no export name table")
endif()
string(SUBSTRING "${dump}" ${start} -1 table)
string(FIND "${table}" "\n\n" end)
string(SUBSTRING "${table}" 0 ${end} table)
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" entries "${table}")
set(exported "")
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^\\[ *[0-9]+\\] " "" name "${entry}")
    list(APPEND exported "${name}")
endforeach()
list(SORT exported)
set(expected ${EXPECTED})
list(SORT expected)
list(LENGTH exported count)
if(NOT exported STREQUAL expected)
    string(REPLACE ";" "\n  " shown "${exported}")
    message(FATAL_ERROR "${DLL} exports ${count} names, not the header's:\n  ${shown}")
endif()
if(NOT count EQUAL 29)
    message(FATAL_ERROR "${DLL} exports ${count} names, not 29")
endif()
message(STATUS "${DLL}: ${count} exports, the header's functions under their plain names")
