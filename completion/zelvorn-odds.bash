# Bash completion of zelvorn-odds: its options, the fields that --vary takes
# and the figures that --sort takes (both as the program itself prints
# them), the sides of --compare, and file names everywhere else.
# Installed where bash-completion loads it when zelvorn-odds is completed.

_zelvorn_odds() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local prev=
  ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
  # The program being completed answers for itself, wherever it lies.
  local program=${COMP_WORDS[0]}
  program=${program/#\~/$HOME}
  COMPREPLY=()
  case $prev in
    --vary)
      # FIELD=FROM..TO: the field with its =, the range still to come.
      mapfile -t COMPREPLY < <(compgen -S = \
        -W "$("$program" --print-fields 2>/dev/null)" -- "$cur")
      compopt -o nospace 2>/dev/null
      return
      ;;
    --sort)
      mapfile -t COMPREPLY < <(compgen \
        -W "$("$program" --print-figures 2>/dev/null)" -- "$cur")
      return
      ;;
    --compare)
      mapfile -t COMPREPLY < <(compgen -W 'attacker defender' -- "$cur")
      return
      ;;
  esac
  if [[ $cur == -* ]]; then
    # The long options as --help lists them.
    mapfile -t COMPREPLY < <(compgen -W "$("$program" --help 2>/dev/null |
      sed -n 's/^ *\(-[A-Za-z], \)\{0,1\}\(--[a-z-]*\).*/\2/p')" -- "$cur")
    return
  fi
  compopt -o filenames 2>/dev/null
  mapfile -t COMPREPLY < <(compgen -f -- "$cur")
}
complete -F _zelvorn_odds zelvorn-odds
