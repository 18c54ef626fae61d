#include "property/round_trip.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "support/temp_dir.h"

namespace tessel::test {

std::string Document::text() const {
    std::string all;
    for (const std::string& piece : pieces) all += piece;
    return all;
}

std::string Generator::word() {
    static const std::string kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string text;
    for (int i = between(1, 8); i > 0; --i) {
        text += kLetters[static_cast<std::size_t>(between(0, kLetters.size() - 1))];
    }
    return text;
}

namespace {

// What kind of failure a verdict tells: its text up to the first quote or
// line end ("the mark-up returned -1", "expected ").
std::string kindOf(const std::string& verdict) {
    return verdict.substr(0, verdict.find_first_of("\"\n"));
}

// Drops pieces while the document still fails the same way; returns the
// smallest found.
Document minimised(Document failing, const std::function<Verdict(const std::string&)>& check) {
    const std::string kind = kindOf(*check(failing.text()));
    for (bool dropped = true; dropped;) {
        dropped = false;
        for (std::size_t i = failing.fixedPieces; i < failing.pieces.size(); ++i) {
            Document smaller = failing;
            smaller.pieces.erase(smaller.pieces.begin() + static_cast<std::ptrdiff_t>(i));
            Verdict verdict = check(smaller.text());
            if (verdict && kindOf(*verdict) == kind) {
                failing = smaller;
                dropped = true;
                --i;
            }
        }
    }
    return failing;
}

}  // namespace

void forAllDocuments(unsigned seed, int cases, const std::function<Document(Generator&)>& generate,
                     const std::function<Verdict(const std::string&)>& check) {
    Generator generator(seed);
    for (int n = 0; n < cases; ++n) {
        Document document = generate(generator);
        if (!check(document.text())) continue;
        Document small = minimised(document, check);
        ADD_FAILURE() << "case " << n << " of seed " << seed << " fails:\n\""
                      << visible(document.text()) << "\"\nminimised:\n\"" << visible(small.text())
                      << "\"\n"
                      << *check(small.text());
        return;
    }
}

RoundTrip roundTrip(const std::string& inputName, const std::string& input,
                    const std::function<int(const std::string& input)>& markUp,
                    const std::string& rtfName,
                    const std::function<int(const std::string& rtf)>& back,
                    const std::string& outputName) {
    TempDir dir;
    std::string path = dir.write(inputName, input);
    int marked = markUp(path);
    if (marked < 0) return {{}, "the mark-up returned " + std::to_string(marked)};
    int backResult = back(dir.file(rtfName));
    if (backResult < 0) {
        return {{},
                "the back-conversion returned " + std::to_string(backResult) + "; the RTF:\n" +
                    visible(readFile(dir.file(rtfName)))};
    }
    return {readFile(dir.file(outputName)), std::nullopt};
}

std::string visible(std::string_view bytes) {
    std::string text;
    for (unsigned char c : bytes) {
        if (c == '\n') {
            text += "\\n";
        } else if (c == '\r') {
            text += "\\r";
        } else if (c == '\t') {
            text += "\\t";
        } else if (c == '\\' || c == '"') {
            text += '\\';
            text += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            text += hex;
        } else {
            text += static_cast<char>(c);
        }
    }
    return text;
}

Verdict sameText(const std::string& expected, const std::string& actual) {
    if (expected == actual) return std::nullopt;
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
    return "expected \"" + visible(expected) + "\"\n     got \"" + visible(actual) +
           "\"\n(first difference at byte " + std::to_string(at) + ")";
}

}  // namespace tessel::test
