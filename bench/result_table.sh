# Sourced by the set benchmarks, after timing.sh: the rows of their table.
# A row is STORAGE SET SUM VELMAR_S AGAINST AGAINST_S TARGET, the target
# being the most Velmar / AGAINST may be ("-" for none); a time may be
# "failed". emit_row prints a row as it is measured and, when $rows_file is
# set, keeps it there (one tab-separated line) for print_table and
# markdown_table.

# judged ROW...: the row with its ratio and its mark, tab-separated.
judged() {
    local r mark= target=$7
    case "$4$6" in
        *failed*) r=- mark=FAILED ;;
        *) r=$(ratio "$4" "$6")
           [ "$target" = - ] || [ "$(echo "$r > $target" | bc -l)" = 0 ] || mark=MISSED ;;
    esac
    [ "$target" = - ] || target="<= $target"
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$4" "$5" "$6" "$r" "$target" "$mark"
}

text_row() {  # text_row STORAGE SET SUM VELMAR AGAINST AGAINST_S RATIO TARGET MARK
    printf '%-20s %-15s %-7s %8s  %-18s %8s  %6s  %7s  %s\n' "$@"
}

text_header() { text_row "${1:-storage}" set sum "Velmar s" against "its s" ratio target ""; }

emit_row() {
    local cells
    IFS=$'\t' read -r -a cells <<< "$(judged "$@")"
    text_row "${cells[@]}"
    [ -z "${rows_file:-}" ] || printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$@" >> "$rows_file"
}

# judged_rows ROWS_FILE: every kept row through judged.
judged_rows() {
    local row
    while IFS=$'\t' read -r -a row; do judged "${row[@]}"; done < "$1"
}

print_table() {  # print_table ROWS_FILE [FIRST_COLUMN_NAME]
    local cells
    text_header "${2:-}"
    judged_rows "$1" | while IFS=$'\t' read -r -a cells; do text_row "${cells[@]}"; done
}

markdown_table() {  # markdown_table ROWS_FILE
    echo "| storage | set | sum | Velmar s | against | its s | Velmar / it | target | |"
    echo "|---|---|---|--:|---|--:|--:|---|---|"
    judged_rows "$1" | sed 's/\t/ | /g; s/^/| /; s/ *$/ |/; s/MISSED |$/**missed** |/; s/FAILED |$/**failed** |/'
}
