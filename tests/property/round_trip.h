// Property tests of the round trip: documents generated from a seeded random
// source are marked up and converted back without translation, and the result
// must be the documented normalisation of the input, which each test computes
// with a normaliser of its own. A failing document is minimised (its pieces
// dropped one by one while it still fails) and printed.
#pragma once

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tessel::test {

// A generated document: the pieces it is made of, so that a failing one can
// be made smaller piece by piece.
struct Document {
    std::vector<std::string> pieces;
    // The first pieces (a header) stay when the document is minimised.
    std::size_t fixedPieces = 0;
    std::string text() const;
};

class Generator {
  public:
    explicit Generator(unsigned seed) : random_(seed) {}
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
    int between(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(items.size()) - 1))];
    }
    // A word of 1 to 8 letters and digits.
    std::string word();

  private:
    std::mt19937 random_;
};

// What a check says about one document: nothing when it holds.
using Verdict = std::optional<std::string>;

// Runs `cases` documents made by `generate` through `check`; reports the
// first that fails, minimised, with what the check said about it.
void forAllDocuments(unsigned seed, int cases, const std::function<Document(Generator&)>& generate,
                     const std::function<Verdict(const std::string&)>& check);

// The outcome of marking up `input` (written as `inputName` in a fresh
// folder) with `markUp` and converting the RTF back with `back`; a verdict
// when either job failed.
struct RoundTrip {
    std::string output;
    Verdict failure;
};
RoundTrip roundTrip(const std::string& inputName, const std::string& input,
                    const std::function<int(const std::string& input)>& markUp,
                    const std::string& rtfName,
                    const std::function<int(const std::string& rtf)>& back,
                    const std::string& outputName);

// Compares, and says where the two first differ.
Verdict sameText(const std::string& expected, const std::string& actual);

// The bytes shown with C escapes, for messages.
std::string visible(std::string_view bytes);

}  // namespace tessel::test
