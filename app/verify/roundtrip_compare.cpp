// The comparison of the round trip: line ends first, as one difference for
// the whole file; then a line-by-line diff, and within each changed stretch
// a byte diff whose pieces are explained by the format's rules.
#include <algorithm>
#include <optional>
#include <tuple>

#include "verify/roundtrip.h"
#include "verify/sequence_diff.h"

namespace tessel::verify {

namespace {

// Beyond these the diffs give way to coarser pieces.
constexpr std::size_t kMaxLineEdits = 2000;
constexpr std::size_t kMaxByteEdits = 1500;
// Pieces closer than this are one difference; the rules see this much of
// the unchanged text around a piece.
// A "<$>" dropped after 254 characters needs the line back to its last tag.
constexpr std::size_t kJoinDistance = 6;
constexpr std::size_t kContext = 1024;
// Matched lines this few between an inserted and a deleted stretch are
// taken into one stretch (see realign).
constexpr std::size_t kRealignLines = 3;

struct LineEndCounts {
    std::size_t crlf = 0;
    std::size_t lf = 0;
    std::size_t cr = 0;
};

LineEndCounts countLineEnds(std::string_view text) {
    LineEndCounts counts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++counts.crlf;
                ++i;
            } else {
                ++counts.cr;
            }
        } else if (text[i] == '\n') {
            ++counts.lf;
        }
    }
    return counts;
}

std::string normalised(std::string_view text) {
    std::string copy(text);
    applyRule(RoundTripRule::LineEnds, copy, false);
    return copy;
}

// Start offsets of the lines of a text with LF line ends (a last line
// without a line end counts).
std::vector<std::size_t> lineStarts(std::string_view text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && i + 1 < text.size()) starts.push_back(i + 1);
    }
    if (text.empty()) starts.clear();
    return starts;
}

std::pair<std::size_t, std::size_t> lineAndColumn(const std::vector<std::size_t>& starts,
                                                  std::size_t offset) {
    auto it = std::upper_bound(starts.begin(), starts.end(), offset);
    std::size_t line = static_cast<std::size_t>(it - starts.begin());
    if (line == 0) return {1, offset + 1};
    return {line, offset - starts[line - 1] + 1};
}

bool contains(std::span<const RoundTripRule> rules, RoundTripRule rule) {
    return std::find(rules.begin(), rules.end(), rule) != rules.end();
}

// The first line end of `source` that the output writes in another form.
std::optional<Difference> lineEndDifference(std::string_view source, std::string_view output) {
    LineEndCounts before = countLineEnds(source);
    LineEndCounts after = countLineEnds(output);
    // The output's form: the one it uses most.
    bool outputCrlf = after.crlf >= after.lf && after.crlf >= after.cr;
    bool outputCr = !outputCrlf && after.cr >= after.lf;
    std::size_t changed = outputCrlf ? before.lf + before.cr
                          : outputCr ? before.crlf + before.lf
                                     : before.crlf + before.cr;
    if (changed == 0) return std::nullopt;
    Difference difference;
    difference.count = changed;
    difference.rules = {RoundTripRule::LineEnds};
    difference.output = outputCrlf ? "\r\n" : outputCr ? "\r" : "\n";
    std::size_t line = 1;
    for (std::size_t i = 0; i < source.size(); ++i) {
        bool crlf = source[i] == '\r' && i + 1 < source.size() && source[i + 1] == '\n';
        bool cr = source[i] == '\r' && !crlf;
        bool lf = source[i] == '\n';
        if (!crlf && !cr && !lf) continue;
        bool differs = outputCrlf ? !crlf : outputCr ? !cr : !lf;
        if (differs) {
            std::size_t lineStart = source.rfind('\n', i == 0 ? 0 : i - 1);
            std::size_t crStart = source.rfind('\r', i == 0 ? 0 : i - 1);
            std::size_t start = 0;
            if (lineStart != std::string_view::npos && lineStart < i) start = lineStart + 1;
            if (crStart != std::string_view::npos && crStart < i && crStart + 1 > start) {
                start = crStart + 1;
            }
            difference.line = line;
            difference.column = i - start + 1;
            difference.outputLine = line;
            difference.outputColumn = difference.column;
            difference.source = crlf ? "\r\n" : cr ? "\r" : "\n";
            break;
        }
        if (crlf) ++i;
        ++line;
    }
    return difference;
}

// The rules that make `a` and `b` alike: one alone if one does, else the
// fewest of all of them together; nothing when even all do not.
// `a` is read in the source's encoding, `b` in the output's.
std::vector<RoundTripRule> explain(const std::string& a, const std::string& b, bool atEnd,
                                   std::span<const RoundTripRule> rules,
                                   const SideEncodings& encodings) {
    auto alike = [&](const std::vector<RoundTripRule>& applied) {
        std::string x = a;
        std::string y = b;
        for (RoundTripRule rule : applied) {
            applyRule(rule, x, atEnd, encodings.source);
            applyRule(rule, y, atEnd, encodings.output);
        }
        return x == y;
    };
    std::vector<RoundTripRule> candidates;
    for (RoundTripRule rule : rules) {
        if (rule == RoundTripRule::LineEnds) continue;
        candidates.push_back(rule);
        if (alike({rule})) return {rule};
    }
    if (!alike(candidates)) return {};
    // The later rules of the table go first: the earlier ones are the
    // plainer explanations.
    for (std::size_t i = candidates.size(); i-- > 0;) {
        std::vector<RoundTripRule> without = candidates;
        without.erase(without.begin() + static_cast<long>(i));
        if (alike(without)) candidates = std::move(without);
    }
    return candidates;
}

struct Piece {
    std::size_t sourceBegin, sourceEnd, outputBegin, outputEnd;
};

// The changed pieces of two stretches from their matched bytes.
std::vector<Piece> piecesOf(std::size_t sourceSize, std::size_t outputSize,
                            const MatchedPairs& pairs) {
    std::vector<Piece> pieces;
    std::size_t i = 0;
    std::size_t j = 0;
    auto close = [&](std::size_t nextI, std::size_t nextJ) {
        if (nextI == i && nextJ == j) return;
        if (!pieces.empty() && i - pieces.back().sourceEnd < kJoinDistance &&
            j - pieces.back().outputEnd < kJoinDistance) {
            pieces.back().sourceEnd = nextI;
            pieces.back().outputEnd = nextJ;
        } else {
            pieces.push_back({i, nextI, j, nextJ});
        }
    };
    for (auto [a, b] : pairs) {
        close(a, b);
        i = a + 1;
        j = b + 1;
    }
    close(sourceSize, outputSize);
    return pieces;
}

// A piece inside an entity ("&#230;" against "&aelig;" differs in "#230")
// is widened to the whole entity; the unchanged bytes around a piece are
// the same on both sides, so both widen alike.
void widenToEntity(std::string_view a, std::string_view b, Piece& piece) {
    constexpr std::size_t kLongestEntity = 10;
    auto isNameByte = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '#';
    };
    std::size_t left = 0;
    while (left < kLongestEntity && left < piece.sourceBegin && left < piece.outputBegin &&
           isNameByte(a[piece.sourceBegin - left - 1])) {
        ++left;
    }
    if (left >= piece.sourceBegin || a[piece.sourceBegin - left - 1] != '&') return;
    std::size_t right = 0;
    while (right < kLongestEntity && piece.sourceEnd + right < a.size() &&
           piece.outputEnd + right < b.size() && isNameByte(a[piece.sourceEnd + right])) {
        ++right;
    }
    if (piece.sourceEnd + right >= a.size() || a[piece.sourceEnd + right] != ';' ||
        piece.outputEnd + right >= b.size()) {
        return;
    }
    piece.sourceBegin -= left + 1;
    piece.outputBegin -= left + 1;
    piece.sourceEnd += right + 1;
    piece.outputEnd += right + 1;
}

// Lines that recur ("<p>" on a line of its own) can be matched with the
// wrong one of their copies: lines of the output then show as inserted
// before them and the lines of the source they belong to as deleted after
// them (or the other way round), and neither stretch alone is explained.
// A few matched lines between such a pair of stretches, one of them
// one-sided, are given up, so that the byte diff sees the whole stretch on
// both sides. `pairs` ends with the pair (n, m).
MatchedPairs realign(const MatchedPairs& pairs) {
    MatchedPairs kept;
    std::pair<long, long> previous{-1, -1};
    std::size_t t = 0;
    while (t < pairs.size()) {
        // The block of consecutive matches from t.
        std::size_t end = t + 1;
        while (end < pairs.size() && pairs[end].first == pairs[end - 1].first + 1 &&
               pairs[end].second == pairs[end - 1].second + 1) {
            ++end;
        }
        bool last = end >= pairs.size();
        if (!last && end - t <= kRealignLines) {
            long insertedBefore = static_cast<long>(pairs[t].second) - previous.second - 1;
            long deletedBefore = static_cast<long>(pairs[t].first) - previous.first - 1;
            long insertedAfter = static_cast<long>(pairs[end].second - pairs[end - 1].second) - 1;
            long deletedAfter = static_cast<long>(pairs[end].first - pairs[end - 1].first) - 1;
            bool oneSided = insertedBefore == 0 || deletedBefore == 0 || insertedAfter == 0 ||
                            deletedAfter == 0;
            bool crossed = oneSided && ((insertedBefore > 0 && deletedAfter > 0) ||
                                        (deletedBefore > 0 && insertedAfter > 0));
            if (crossed) {
                t = end;
                continue;
            }
        }
        for (std::size_t i = t; i < end; ++i) kept.push_back(pairs[i]);
        previous = {static_cast<long>(pairs[end - 1].first),
                    static_cast<long>(pairs[end - 1].second)};
        t = end;
    }
    return kept;
}

}  // namespace

std::vector<Difference> compareRoundTrip(std::string_view source, std::string_view output,
                                         std::span<const RoundTripRule> rules) {
    return compareRoundTrip(source, output, rules,
                            {encodingOfTaggedText(source), encodingOfTaggedText(output)});
}

std::vector<Difference> compareRoundTrip(std::string_view sourceBytes, std::string_view outputBytes,
                                         std::span<const RoundTripRule> rules,
                                         const SideEncodings& encodings) {
    std::vector<Difference> differences;
    std::string source(sourceBytes);
    std::string output(outputBytes);
    if (contains(rules, RoundTripRule::LineEnds)) {
        if (auto lineEnds = lineEndDifference(sourceBytes, outputBytes)) {
            differences.push_back(std::move(*lineEnds));
        }
        source = normalised(sourceBytes);
        output = normalised(outputBytes);
    }
    std::vector<std::size_t> sourceLines = lineStarts(source);
    std::vector<std::size_t> outputLines = lineStarts(output);
    auto lineText = [](const std::string& text, const std::vector<std::size_t>& starts,
                       std::size_t i) {
        std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
        return std::string_view(text).substr(starts[i], end - starts[i]);
    };
    auto lines = commonSubsequence(
        sourceLines.size(), outputLines.size(),
        [&](std::size_t i, std::size_t j) {
            return lineText(source, sourceLines, i) == lineText(output, outputLines, j);
        },
        kMaxLineEdits);
    MatchedPairs matchedLines = lines ? *lines : MatchedPairs{};
    matchedLines.emplace_back(sourceLines.size(), outputLines.size());
    matchedLines = realign(matchedLines);
    // The changed pieces of the stretches between matched lines, in bytes
    // of the whole texts.
    auto offsetOf = [](const std::string& text, const std::vector<std::size_t>& starts,
                       std::size_t line) {
        return line < starts.size() ? starts[line] : text.size();
    };
    std::vector<Piece> pieces;
    std::size_t nextSource = 0;
    std::size_t nextOutput = 0;
    for (auto [i, j] : matchedLines) {
        if (i > nextSource || j > nextOutput) {
            std::size_t sBegin = offsetOf(source, sourceLines, nextSource);
            std::size_t sEnd = offsetOf(source, sourceLines, i);
            std::size_t oBegin = offsetOf(output, outputLines, nextOutput);
            std::size_t oEnd = offsetOf(output, outputLines, j);
            std::string_view a = std::string_view(source).substr(sBegin, sEnd - sBegin);
            std::string_view b = std::string_view(output).substr(oBegin, oEnd - oBegin);
            auto bytes = commonSubsequence(
                a.size(), b.size(), [&](std::size_t x, std::size_t y) { return a[x] == b[y]; },
                kMaxByteEdits);
            std::vector<Piece> stretch = bytes
                                             ? piecesOf(a.size(), b.size(), *bytes)
                                             : std::vector<Piece>{Piece{0, a.size(), 0, b.size()}};
            for (Piece piece : stretch) {
                widenToEntity(a, b, piece);
                Piece whole{sBegin + piece.sourceBegin, sBegin + piece.sourceEnd,
                            oBegin + piece.outputBegin, oBegin + piece.outputEnd};
                if (!pieces.empty() && whole.sourceBegin <= pieces.back().sourceEnd) {
                    pieces.back().sourceEnd = std::max(pieces.back().sourceEnd, whole.sourceEnd);
                    pieces.back().outputEnd = std::max(pieces.back().outputEnd, whole.outputEnd);
                } else {
                    pieces.push_back(whole);
                }
            }
        }
        nextSource = i + 1;
        nextOutput = j + 1;
    }
    // Between two pieces the texts agree, so the rules see the same
    // unchanged text around a piece on both sides.
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const Piece& piece = pieces[p];
        std::size_t leftLimit = p > 0 ? pieces[p - 1].sourceEnd : 0;
        std::size_t rightLimit = p + 1 < pieces.size() ? pieces[p + 1].sourceBegin : source.size();
        std::size_t before = std::min(kContext, piece.sourceBegin - leftLimit);
        std::size_t after = std::min(kContext, rightLimit - piece.sourceEnd);
        std::string_view sourcePart =
            std::string_view(source).substr(piece.sourceBegin, piece.sourceEnd - piece.sourceBegin);
        std::string_view outputPart =
            std::string_view(output).substr(piece.outputBegin, piece.outputEnd - piece.outputBegin);
        std::string head = source.substr(piece.sourceBegin - before, before);
        std::string tail = source.substr(piece.sourceEnd, after);
        bool atEnd =
            piece.sourceEnd + after == source.size() && piece.outputEnd + after == output.size();
        Difference difference;
        std::tie(difference.line, difference.column) =
            lineAndColumn(sourceLines, piece.sourceBegin);
        std::tie(difference.outputLine, difference.outputColumn) =
            lineAndColumn(outputLines, piece.outputBegin);
        difference.source = std::string(sourcePart);
        difference.output = std::string(outputPart);
        difference.rules = explain(head + difference.source + tail, head + difference.output + tail,
                                   atEnd, rules, encodings);
        differences.push_back(std::move(difference));
    }
    return differences;
}

}  // namespace tessel::verify
