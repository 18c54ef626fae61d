# The desktop program's --help and --version with no display at all (no X
# server, no Wayland, no Qt platform chosen): each prints to standard output
# and ends with 0; an unknown "--" option is told on standard error with 2,
# also after Qt's own options. Run with -DPROGRAM=... -DVERSION=...
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})

function(expect what actual expected)
    if(NOT "${actual}" STREQUAL "${expected}")
        message(SEND_ERROR "${what}: got [${actual}], expected [${expected}]")
    endif()
endfunction()
function(expect_match what actual pattern)
    if(NOT "${actual}" MATCHES "${pattern}")
        message(SEND_ERROR "${what}: [${actual}] does not match [${pattern}]")
    endif()
endfunction()

function(run_program)
    execute_process(COMMAND ${PROGRAM} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
        ERROR_VARIABLE err TIMEOUT 60)
    set(status "${status}" PARENT_SCOPE)
    set(out "${out}" PARENT_SCOPE)
    set(err "${err}" PARENT_SCOPE)
endfunction()

# --help: the usage, the documents it opens and Qt's options; nothing else.
foreach(arguments "--help" "-style;Fusion;--help" "--style=Fusion;some.rtf;--help")
    run_program(${arguments})
    expect("status of ${arguments}" "${status}" 0)
    expect("standard error of ${arguments}" "${err}" "")
    expect_match("help of ${arguments}" "${out}" "^Usage: TesselFilterPack \\[OPTION\\]\\.\\.\\. \\[FILE\\]\\.\\.\\.\n")
    foreach(line ".rtf" ".err" "  --help " "  --version " "  -style NAME" "  -platform NAME")
        string(FIND "${out}" "${line}" at)
        if(at EQUAL -1)
            message(SEND_ERROR "help of ${arguments} lacks \"${line}\"")
        endif()
    endforeach()
endforeach()

# --version: the program's version and the library's, the first that counts.
foreach(arguments "--version" "--version;--help" "--reverse;--version;--no-such-option")
    run_program(${arguments})
    expect("status of ${arguments}" "${status}" 0)
    expect("standard error of ${arguments}" "${err}" "")
    expect_match("version of ${arguments}" "${out}"
        "^TesselFilterPack \\(Tessel Filter Pack\\) ${VERSION}\nTESSEL_CAT[^\n]* Version [0-9.]+\n$")
endforeach()

# Unknown options, also after a Qt option's value and before --help: each
# case is the arguments, then "=>" and the option told.
foreach(case "--frobnicate=>--frobnicate" "--geometry;640x480;--frobnicate=yes=>--frobnicate=yes"
        "file.rtf;--helps=>--helps" "--frobnicate;--help=>--frobnicate")
    string(REPLACE "=>" ";" parts "${case}")
    list(POP_BACK parts option)
    run_program(${parts})
    expect("status of ${parts}" "${status}" 2)
    expect("standard output of ${parts}" "${out}" "")
    expect("standard error of ${parts}" "${err}"
        "TesselFilterPack: unknown option ${option}\nTry 'TesselFilterPack --help' for more information.\n")
endforeach()

# After --, an option-like argument is a file name: no usage error (the
# program goes on to start Qt, which finds no display here).
run_program(-- --frobnicate)
string(FIND "${err}" "unknown option" at)
if(status EQUAL 2 OR NOT at EQUAL -1)
    message(SEND_ERROR "-- --frobnicate was taken for an option: ${status}, ${err}")
endif()
