#!/usr/bin/env bash
# Usage: check-completion.sh PROGRAM COMPLETION
# Fails when the bash completion COMPLETION does not offer every operation and
# option that `PROGRAM --help` lists, or offers for --porta something other
# than the simulated units (lock files included) of its folder.
# bash-completion's functions are not written for set -e or set -u.
program=$1
completion=$2
name=$(basename "$program")
source "$(dirname "$0")/help-words.sh"
read_help_words "$program" || exit 1

framework=/usr/share/bash-completion/bash_completion
if [ ! -r "$framework" ]; then
    echo "manca $framework: installa bash-completion (tools/install-deps.sh)" >&2
    exit 1
fi
source "$framework"
source "$completion"
function=$(complete -p "$name" | grep -oE -- '-F [^ ]+' | cut -c4-)

# Prints what the completion offers for the command line given, the last word
# being the one under the cursor.
offered() {
    COMP_WORDS=("$name" "$@")
    COMP_CWORD=$#
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    "$function" "$name" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}"
}

status=0
expect() {
    local what=$1 word=$2
    shift 2
    if ! offered "$@" | grep -qxF -- "$word"; then
        echo "$completion: non completa $what $word" >&2
        status=1
    fi
}
for operation in $help_operations; do
    expect "l'operazione" "$operation" ""
done
for option in $help_options; do
    expect "l'opzione" "$option" -
done

# A simulated unit's link is a port; its lock file is not.
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
mkdir "$XDG_RUNTIME_DIR/tarvo-sim"
ln -s /dev/null "$XDG_RUNTIME_DIR/tarvo-sim/banco"
touch "$XDG_RUNTIME_DIR/tarvo-sim/banco.lock"
expect "la porta" "$XDG_RUNTIME_DIR/tarvo-sim/banco" --porta ""
if offered --porta "" | grep -q '\.lock$'; then
    echo "$completion: offre un file .lock come porta" >&2
    status=1
fi
exit $status
