# Writes the COMMANDS section of the manual page as a help2man include file:
# one sub-section per command with the command's own help, the commands read
# from the tool's help ("Commands:" and each family's "Subcommands:").
#   cmake -DTOOL=path/to/tessel -DOUTPUT=commands.h2m -P man_commands.cmake

function(help_of args result)
    execute_process(COMMAND ${TOOL} ${args} --help OUTPUT_VARIABLE text RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${TOOL} ${args} --help ended with ${status}")
    endif()
    set(${result} "${text}" PARENT_SCOPE)
endfunction()

# The names of the table that follows `heading` up to the first empty line.
function(table_names text heading result)
    string(FIND "${text}" "${heading}\n" start)
    if(start EQUAL -1)
        set(${result} "" PARENT_SCOPE)
        return()
    endif()
    string(SUBSTRING "${text}" ${start} -1 table)
    string(FIND "${table}" "\n\n" end)
    string(SUBSTRING "${table}" 0 ${end} table)
    string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*" rows "${table}")
    set(names "")
    foreach(row IN LISTS rows)
        string(STRIP "${row}" name)
        list(APPEND names ${name})
    endforeach()
    set(${result} "${names}" PARENT_SCOPE)
endfunction()

# The help as lines of roff that are shown as they are.
function(verbatim text result)
    string(REPLACE "\\" "\\e" text "${text}")
    # A line that starts with "." or "'" would be a request.
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    set(${result} ".nf\n${text}.fi\n" PARENT_SCOPE)
endfunction()

help_of("" top)
table_names("${top}" "Commands:" commands)
set(page "[COMMANDS]\n")
foreach(command IN LISTS commands)
    help_of("${command}" help)
    table_names("${help}" "Subcommands:" subcommands)
    verbatim("${help}" shown)
    string(APPEND page ".SS \"tessel ${command}\"\n${shown}")
    foreach(subcommand IN LISTS subcommands)
        help_of("${command};${subcommand}" help)
        verbatim("${help}" shown)
        string(APPEND page ".SS \"tessel ${command} ${subcommand}\"\n${shown}")
    endforeach()
endforeach()
file(WRITE "${OUTPUT}.tmp" "${page}")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
