#include "dtp/undecodable_source_lines.h"

#include "dtp/converter_log.h"
#include "platform/format.h"
#include "platform/streams.h"
#include "resources/encoding_names.h"
#include "resources/log_texts.h"

namespace tessel::dtp {

namespace {

namespace res = tessel::resources;

// The mark-up jobs' message about such bytes (-1503), without the number
// that the converter log puts before each entry itself.
constexpr int kBytesNotInEncodingMessage = -1503;
constexpr int kUnpairedUtf16UnitsMessage = -1505;
constexpr std::string_view kNumberPlaceholder = "[%d] ";

std::string encodingName(const SourceCharacters& characters) {
    if (characters.utf8) return std::string(res::kUtf8ReportName);
    return platform::fillPlaceholders(res::kCodePageReportName,
                                      {std::to_string(characters.codePage->codePage())});
}

void reportLine(std::string_view line, std::string_view name) {
    const res::MessageText* message = res::findMessage(kBytesNotInEncodingMessage);
    if (message == nullptr) return;
    std::string_view text = message->text;
    if (text.starts_with(kNumberPlaceholder)) text.remove_prefix(kNumberPlaceholder.size());
    std::string entry =
        platform::fillPlaceholders(text, {res::kSeparatorLine, line, res::kSeparatorLine});
    entry += platform::fillPlaceholders(message->followUp, {name});
    reportMessage(entry, kMessageWarning);
}

// A UTF-16 source's units that paired with none, counted as the HTML
// mark-up counts them (-1505).
void reportUnpairedUnits(std::size_t count) {
    const res::MessageText* message = res::findMessage(kUnpairedUtf16UnitsMessage);
    if (message == nullptr) return;
    std::string_view text = message->text;
    if (text.starts_with(kNumberPlaceholder)) text.remove_prefix(kNumberPlaceholder.size());
    std::string entry(text);
    entry += platform::fillPlaceholders(message->followUp, {std::to_string(count)});
    reportMessage(entry, kMessageWarning);
}

}  // namespace

int reportUndecodableSourceLines(const std::string& path, const SourceCharacters& characters) {
    if (!characters.decodes() || currentConverterLog() == nullptr) return 0;
    int reported = 0;
    if (characters.unpairedUtf16Units > 0) {
        reportUnpairedUnits(characters.unpairedUtf16Units);
        ++reported;
    }
    platform::InputStream input;
    if (!input.open(path, platform::StreamMode::Binary)) return 0;
    const std::string name = encodingName(characters);
    std::string line;
    char buffer[platform::kStreamBufferSize];
    auto endLine = [&] {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (holdsUndecodableBytes(line, characters)) {
            reportLine(line, name);
            ++reported;
        }
        line.clear();
    };
    for (std::size_t got; (got = input.read(buffer, sizeof buffer)) > 0;) {
        std::string_view piece(buffer, got);
        for (std::size_t end; (end = piece.find('\n')) != std::string_view::npos;) {
            line.append(piece.substr(0, end));
            endLine();
            piece.remove_prefix(end + 1);
        }
        line.append(piece);
    }
    if (!line.empty()) endLine();
    input.close();
    return reported;
}

}  // namespace tessel::dtp
