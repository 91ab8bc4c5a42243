# bash completion for quorvane-cli: the options are read from its own --help.
_quorvane_cli() {
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        -g | --group)
            COMPREPLY=($(compgen -W 'name-size name size size-name name-size-date' -- "$cur"))
            return ;;
        -c | --compare)
            COMPREPLY=($(compgen -W 'none crc md4 md5' -- "$cur"))
            return ;;
        -f | --format)
            COMPREPLY=($(compgen -W 'text csv json' -- "$cur"))
            return ;;
        -p | --profile)
            _filedir qvp
            return ;;
        --load-list | --save-list)
            _filedir qfl
            return ;;
        -x | --exclude-folder | --move-to)
            _filedir -d
            return ;;
        --zip)
            _filedir zip
            return ;;
        -i | --include | -e | --exclude | --filter | --filter-hex)
            return ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '$(_parse_help "$1")' -- "$cur"))
        return
    fi
    _filedir -d
}
complete -F _quorvane_cli quorvane-cli
