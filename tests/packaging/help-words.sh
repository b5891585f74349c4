# The options and operations that a program's --help lists, for the checks
# that keep the manual pages and the completion in step with the programs.
# Options are the words that begin with - or --; operations are the lower-case
# words of the usage lines that start with the program's name (tarvo-cli's
# "invia", "leggi", ...). Sourced; sets $help_options and $help_operations.

read_help_words() {
    local program=$1 name help
    name=$(basename "$program")
    # tarvodisp opens its window system before it reads its options.
    help=$(QT_QPA_PLATFORM=offscreen "$program" --help)
    help_options=$(grep -oE '(^|[^[:alnum:]_-])--?[[:alpha:]][[:alnum:]-]*' <<<"$help" |
        sed -E 's/^[^-]+//' | sort -u)
    help_operations=$(grep -E "^[[:space:]]+$name[[:space:]]" <<<"$help" | tr ' []' '\n' |
        grep -xE '[a-z]+' | sort -u || true)
}
