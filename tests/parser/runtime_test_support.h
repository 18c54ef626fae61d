// Helpers shared by the parser runtime tests: scanning into plain records,
// temporary files and environment overrides.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "parser/ss_exception.h"
#include "parser/ss_lex.h"
#include "support/portable.h"
#include "support/temp_dir.h"

namespace tessel::test {

struct Lexeme {
    std::int32_t token;
    std::string text;
    std::int32_t line;
    std::int32_t offset;
    bool operator==(const Lexeme&) const = default;
};

inline void PrintTo(const Lexeme& l, std::ostream* os) {
    *os << "{" << l.token << ", \"" << l.text << "\", " << l.line << ", " << l.offset << "}";
}

inline std::vector<Lexeme> scanAll(parser::SSLex& lex, std::size_t limit = 100000) {
    std::vector<Lexeme> out;
    while (auto t = lex.nextToken()) {
        out.push_back({t->parserSymbol(), std::string(t->textView()), t->line(), t->offset()});
        if (out.size() >= limit) break;
    }
    return out;
}

// Expects `work` to throw an SSException with `code`; returns its message.
template <class Work>
std::string expectSSError(Work&& work, std::int32_t code) {
    try {
        work();
    } catch (const parser::SSException& e) {
        EXPECT_EQ(e.code(), code) << e.message();
        return e.message();
    }
    ADD_FAILURE() << "no SSException thrown (expected code " << code << ")";
    return {};
}

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        test::setEnvironment(name, value);
    }
    ~ScopedEnv() {
        if (old_) {
            test::setEnvironment(name_.c_str(), old_->c_str());
        } else {
            test::unsetEnvironment(name_.c_str());
        }
    }

  private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace tessel::test
