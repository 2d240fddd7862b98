#!/usr/bin/env bash
# quorvex-ctl's bash completion offers what quorvex-ctl takes at each place of a command line.
#   check_completion.sh COMPLETION QUORVEX_CTL
set -euo pipefail
source "$1"
ctl="$2"
failed=0

# complete LINE: the words offered when Tab is pressed at the end of LINE, as bash splits it.
complete_line() {
    local line="$1"
    COMP_WORDBREAKS=$' \t\n"\'><=;|&(:'
    # bash's splitting of the line: at blanks, and with "=" a word of its own.
    read -r -a COMP_WORDS <<<"$(sed 's/=/ = /g' <<<"$line")"
    [[ $line == *" " || $line == *= ]] && COMP_WORDS+=("")
    COMP_WORDS[0]="$ctl"
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _quorvex_ctl
    echo "${COMPREPLY[*]}"
}

# line | a word that must be offered | a word that must not
while IFS='|' read -r line wanted unwanted; do
    got=" $(complete_line "$line") "
    if [[ $got != *" $wanted "* || ( -n $unwanted && $got == *" $unwanted "* ) ]]; then
        echo "completion of '$line': got [$got], wanted $wanted${unwanted:+, not $unwanted}" >&2
        failed=1
    fi
done <<'CASES'
quorvex-ctl |set|--all
quorvex-ctl --simulated-mouse g|get|set
quorvex-ctl set light.c|light.colour=|light.mode=
quorvex-ctl set dpi=1000 profile2.button1|profile2.button12=|profile3.button1=
quorvex-ctl get fire|firekey4|
quorvex-ctl macro |export|list
quorvex-ctl macro export |7|
quorvex-ctl --simulated-mouse=|image|
quorvex-ctl --simulated-mouse --device |sim/hidraw1|--all
quorvex-ctl --j|--json|--all
CASES
exit "$failed"
