# SPDX-FileCopyrightText: 2026 The Marrowby developers
# SPDX-License-Identifier: MIT
# bash completion for mrb-list. The options, setting names and setting values
# come from its --help, so they are never out of step with the program.

_mrb_list_settings()
{
    "$1" --help 2>/dev/null | sed -n 's/^  \([A-Z][a-z]*\.[A-Za-z]*\)=\([^ ]*\).*/\1=\2/p'
}

_mrb_list()
{
    local cur prev words cword split
    _init_completion -s -n = || return

    case $prev in
        -o | --settings)
            _filedir
            return
            ;;
        --show)
            _filedir -d
            return
            ;;
        --filter)
            return
            ;;
        --set)
            local line values
            if [[ $cur == *=* ]]; then
                # the values a setting takes, when the help lists them as A|B|C
                line=$(_mrb_list_settings "$1" | grep -F -- "${cur%%=*}=")
                values=${line#*=}
                [[ $values == *'|'* ]] && COMPREPLY=($(compgen -W "${values//|/ }" -- "${cur#*=}"))
            else
                COMPREPLY=($(compgen -W "$(_mrb_list_settings "$1" | sed 's/=.*/=/')" -- "$cur"))
                compopt -o nospace
            fi
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '$(_parse_help "$1")' -- "$cur"))
        return
    fi
    _filedir
}
complete -F _mrb_list mrb-list
