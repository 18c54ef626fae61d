# Bash completion of the tessel tool: its commands, the subcommands of the
# conversion families (the formats) and each command's options. They are
# read from the tool's own help, which is built from its command table, so
# the completion offers what the installed tool takes.

# The names of the table under the line "$1" of the help on standard input.
_tessel_table() {
    awk -v heading="$1" '$0 == heading { on = 1; next }
        on && $0 == "" { exit }
        on && /^  [^ ]/ { print $1 }'
}

# "NAME VALUE" (VALUE "-" for none) for each option line of the help on
# standard input: "  -o, --output-dir DIR", "  --ext EXT  ...", "  -q, --quiet".
_tessel_options() {
    awk '/^  -/ {
        line = substr($0, 3); n = 0
        while (match(line, /^-[-A-Za-z0-9]*/)) {
            names[++n] = substr(line, 1, RLENGTH); line = substr(line, RLENGTH + 1)
            if (substr(line, 1, 2) != ", ") break
            line = substr(line, 3)
        }
        value = "-"
        if (match(line, /^ [^ ]+/)) value = substr(line, 2, RLENGTH - 1)
        for (i = 1; i <= n; i++) if (names[i] != "--") print names[i], value
    }'
}

_tessel() {
    local tool=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    # The command and subcommand: the first words that are no options.
    local -a path=()
    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -* ]] || path+=("${COMP_WORDS[i]}")
    done
    local help
    if ((${#path[@]} == 0)); then
        help=$("$tool" --help 2>/dev/null)
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "$(_tessel_options <<<"$help" | cut -d' ' -f1)" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$(_tessel_table "Commands:" <<<"$help")" -- "$cur"))
        fi
        return
    fi
    help=$("$tool" "${path[0]}" --help 2>/dev/null)
    local subcommands
    subcommands=$(_tessel_table "Subcommands:" <<<"$help")
    if [[ -n $subcommands ]]; then
        if ((${#path[@]} == 1)); then
            [[ $cur == -* ]] && subcommands="-h --help"
            COMPREPLY=($(compgen -W "$subcommands" -- "$cur"))
            return
        fi
        help=$("$tool" "${path[0]}" "${path[1]}" --help 2>/dev/null)
    fi
    local options value
    options=$(_tessel_options <<<"$help")
    value=$(awk -v name="$prev" '$1 == name { print $2; exit }' <<<"$options")
    case $value in
        "" | -) ;;
        DIR | ORIGINALS) COMPREPLY=($(compgen -d -- "$cur")); return ;;
        json) COMPREPLY=($(compgen -W json -- "$cur")); return ;;
        *) return ;;  # files, or a value to type
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(cut -d' ' -f1 <<<"$options")" -- "$cur"))
    fi
    # Otherwise empty: bash completes a file name.
}

complete -o bashdefault -o default -F _tessel tessel
