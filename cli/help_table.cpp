#include "help_table.h"

#include <algorithm>
#include <ostream>

namespace tessel::cli {

namespace {

constexpr std::size_t kLineWidth = 79;
constexpr std::size_t kIndent = 2;
constexpr std::size_t kGap = 2;

}  // namespace

std::string wrapText(std::string_view text, std::size_t startColumn, std::size_t indent) {
    std::string wrapped;
    std::size_t room = kLineWidth > startColumn ? kLineWidth - startColumn : 1;
    while (text.size() > room) {
        std::size_t cut = text.rfind(' ', room);
        if (cut == std::string_view::npos || cut == 0) cut = text.find(' ');
        if (cut == std::string_view::npos) break;
        wrapped.append(text.substr(0, cut)).append("\n").append(indent, ' ');
        text.remove_prefix(cut + 1);
        room = kLineWidth > indent ? kLineWidth - indent : 1;
    }
    return wrapped.append(text);
}

void printHelpTable(std::ostream& out, const std::vector<HelpRow>& rows) {
    std::size_t nameWidth = 0;
    for (const HelpRow& row : rows) nameWidth = std::max(nameWidth, row.first.size());
    const std::size_t column = kIndent + nameWidth + kGap;
    for (const auto& [name, description] : rows) {
        out << std::string(kIndent, ' ') << name << std::string(column - kIndent - name.size(), ' ')
            << wrapText(description, column, column) << "\n";
    }
}

}  // namespace tessel::cli
