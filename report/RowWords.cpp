#include "report/RowWords.h"

#include "lists/ListableName.h"

namespace velmar {

const char* StatusWord(StatusIcon icon) {
    switch (icon) {
        case IconOk: return "OK";
        case IconBad: return "BAD";
        case IconNA: return "N/A";
        case IconNew: return "NEW";
        case IconMoved: return "MOVED";
        case IconPending: break;
    }
    return "NOT CHECKED";
}

std::string_view ListedName(std::string_view text, StatusIcon icon, const RowDetails& details) {
    const std::string arrow = " -> " + details.movedTo;
    if (icon == IconMoved && !details.movedTo.empty() && text.ends_with(arrow))
        text.remove_suffix(arrow.size());
    return text;
}

std::string SumToolLine(std::string_view text, StatusIcon icon, const RowDetails& details) {
    const std::string_view name = ListedName(text, icon, details);
    // md5sum -c escapes a name only when it holds a line feed, which would
    // break its line; then the line begins with a backslash.
    const bool escape = name.find('\n') != std::string_view::npos ||
                        (icon == IconMoved && details.movedTo.find('\n') != std::string::npos);
    const std::string movedTo = escape ? SumToolEscaped(details.movedTo) : details.movedTo;
    std::string line;
    if (escape) line.push_back('\\');
    line += escape ? SumToolEscaped(name) : std::string(name);
    switch (icon) {
        case IconOk: line += ": OK"; break;
        case IconBad: line += ": FAILED"; break;
        case IconNA: line += ": FAILED open or read"; break;
        case IconNew: line += ": NEW"; break;
        case IconMoved: line += ": MOVED -> " + movedTo; break;
        case IconPending: line += ": NOT CHECKED"; break;
    }
    return line;
}

std::string DetailsText(std::string_view text, StatusIcon icon, const RowDetails& details) {
    std::string lines(details.path.empty() ? text : std::string_view(details.path));
    if (!details.expected.empty()) lines += "\nExpected: " + details.expected;
    if (!details.computed.empty()) lines += "\nComputed: " + details.computed;
    if (details.size) lines += "\nSize: " + std::to_string(*details.size) + (*details.size == 1 ? " byte" : " bytes");
    lines += "\n";
    lines += StatusWord(icon);
    if (!details.reason.empty()) lines += ": " + details.reason;
    return lines;
}

}  // namespace velmar
