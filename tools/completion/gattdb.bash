# SPDX-License-Identifier: MIT
# bash completion for gattdb(1): subcommands, options, the values of options, and file names.

# What to offer, one line per subcommand: its name, then its options as "gattdb SUBCOMMAND --help"
# lists them. An option that takes a value ends in "=" and what to offer for it: values separated by
# "|", @file for file names, @dir for folders, or nothing for free text.
# tests/tool/test_help_coverage.sh checks the table against the tool's help.
# The rules of check, for --ignore.
_gattdb_rules='cccd-missing|cccd-unused|extended-properties|broadcast|no-access|uuid-kind|uuid16-unassigned|uuid128-on-base|uuid32-field|service-changed|service-changed-indicate|empty-service|mandatory-missing|property-missing|property-not-allowed|characteristic-unknown|handle-moved|attribute-removed'
_gattdb_table='
build  -h,--help --from=json|gatt|btsnoop|pcap -I,--import-dir=@dir --lossy --connection= --local -o,--output=@file -f,--format=hex|bin|c|header|map --name=
dump   -h,--help --from=bin|hex|btsnoop|pcap --connection= --local --hex -f,--format=table|summary|json|markdown|html --json --summary
diff   -h,--help --from=json|gatt|bin|hex|btsnoop|pcap --hex -I,--import-dir=@dir --lossy --connection= --local
import -h,--help --from=json|gatt|btsnoop|pcap -o,--output=@file -I,--import-dir=@dir --lossy --connection= --local
check  -h,--help --against=@file --ignore='"$_gattdb_rules"' --strict --fix -o,--output=@file -f,--format=text|json --from=json|gatt|bin|hex|btsnoop|pcap --hex -I,--import-dir=@dir --lossy --connection= --local
hash   -h,--help --from=json|gatt|bin|hex|btsnoop|pcap --hex -I,--import-dir=@dir --lossy --connection= --local
new    -h,--help --optional --device-name= -o,--output=@file
'
_gattdb_global_options='-h,--help --version'

# The options of one subcommand, or the global ones when it is empty.
_gattdb_options() {
    local name options
    [[ -z $1 ]] && echo "$_gattdb_global_options" && return
    while read -r name options; do
        [[ $name == "$1" ]] && echo "$options" && return
    done <<<"$_gattdb_table"
}

_gattdb() {
    local cur prev words cword split
    _init_completion -s || return

    # The subcommand is the first word that is not an option; the tool takes no value before it.
    local subcommand="" i
    for ((i = 1; i < cword; i++)); do
        [[ ${words[i]} != -* ]] && subcommand=${words[i]} && break
    done

    local options option
    options=$(_gattdb_options "$subcommand")
    for option in $options; do
        [[ $option == *=* && ",${option%%=*}," == *",$prev,"* ]] || continue
        case ${option#*=} in
        @file) _filedir ;;
        @dir) _filedir -d ;;
        "") ;;
        *)
            local values=${option#*=}
            mapfile -t COMPREPLY < <(compgen -W "${values//|/ }" -- "$cur")
            ;;
        esac
        return
    done
    $split && return

    if [[ $cur == -* ]]; then
        options=$(sed 's/=[^ ]*//g; s/,/ /g' <<<"$options")
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    elif [[ -z $subcommand ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(cut -d' ' -f1 <<<"$_gattdb_table")" -- "$cur")
    else
        _filedir
    fi
}
complete -F _gattdb gattdb
