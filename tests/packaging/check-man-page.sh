#!/usr/bin/env bash
# Usage: check-man-page.sh PROGRAM PAGE
# Fails when an option or an operation that `PROGRAM --help` lists is not an
# entry (a .TP heading) of the manual page PAGE, or when the page has an entry
# for an option that --help does not list.
set -euo pipefail
program=$1
page=$2
name=$(basename "$program")
source "$(dirname "$0")/help-words.sh"
read_help_words "$program"

# The words of every .TP heading, with the roff escapes taken out.
entries=$(awk 'heading { print; heading = 0 } /^\.TP/ { heading = 1 }' "$page" |
    sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' -e 's/\\&//g' -e 's/"//g' -e 's/^\.[A-Z]*//' |
    tr ' ,;[]' '\n' | grep -v '^$' | sort -u)

status=0
for word in $help_options $help_operations; do
    if ! grep -qxF -- "$word" <<<"$entries"; then
        echo "$page: manca la voce per $word, che $name --help elenca" >&2
        status=1
    fi
done
for word in $(grep -E '^-' <<<"$entries" || true); do
    if ! grep -qxF -- "$word" <<<"$help_options"; then
        echo "$page: la voce $word non è fra le opzioni di $name --help" >&2
        status=1
    fi
done
exit $status
