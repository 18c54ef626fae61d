// Table-driven scanner.
//
// nextToken() runs the current expression list's automaton over the input
// and returns the longest match:
//   - the automaton reads past the end of the longest match before it fails;
//     completing a token rewinds the input to the recorded end;
//   - accept entries may ignore the match, change the current expression
//     list (push, pop, switch), give a trailing LF back (end-of-line anchor),
//     drop a leading LF (start-of-line anchor), set an alternate token number
//     and look the text up in a keyword table;
//   - every expression list maps the BOF pseudo-character to an ignored
//     token, so the first call swallows it and the first real token is on
//     line 1.
// A character no expression accepts goes to invalidToken(), which by default
// throws SSLex0105e with the line, offset and text of the dropped characters.
//
// Usage:
//   SSLexTableSet tables = SSLexTableSet::fromResource("PageMakerLexTable");
//   SSLexFileInput input("file.txt");
//   SSLex lex(input, tables);
//   while (SSRefPtr<SSToken> token = lex.nextToken()) { ... }
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "parser/ss_lex_input.h"
#include "parser/ss_lex_table_set.h"
#include "parser/ss_lifo.h"
#include "parser/ss_ref.h"
#include "parser/ss_token.h"

namespace tessel::parser {

class SSLex {
  public:
    // No input and no table set yet: attach both with setInput() and
    // setTableSet() (which pushes expression list 0).
    SSLex();
    // Borrows both (they must outlive the lexer); pushes expression list 0.
    SSLex(SSLexInput& input, const SSLexTableSet& tables);
    // Creates and owns an SSLexFileInput(fileName, Multibyte, whole file, 0);
    // the table set is attached later. Input errors leave the constructor.
    explicit SSLex(const std::string& fileName);
    virtual ~SSLex();
    SSLex(const SSLex&) = delete;
    SSLex& operator=(const SSLex&) = delete;

    // The next token (the returned pointer holds the caller's reference), or
    // an empty pointer at end of input.
    SSRefPtr<SSToken> nextToken();

    // --- Hooks (virtual in this order) ---
    // No expression matched the characters read since the mark. May return a
    // token to hand out instead; an empty result drops the characters.
    // Default: consumes them as an error lexeme and throws SSLex0105e.
    virtual SSRefPtr<SSToken> invalidToken(SSLexInput& input);
    // Display name of a token number; default "SSLexTokenNotFound".
    virtual std::string_view tokenName(std::int32_t tokenNumber) const;
    // An ignored token completed; default consumes it and returns nothing.
    virtual SSRefPtr<SSToken> discardToken(SSLexInput& input, std::int32_t /*tokenNumber*/,
                                           const SSLexMatchEnd& end) {
        input.consume(end);
        return {};
    }
    // An accepted token completed; default builds it and consumes the match.
    virtual SSRefPtr<SSToken> completeToken(SSLexInput& input, std::int32_t tokenNumber,
                                            const SSLexMatchEnd& end) {
        return buildToken(input, tokenNumber, end);
    }
    // Looks the token's text up in keyword table `table` (SSLex0110e when
    // there is no such table).
    virtual void keywordLookup(SSToken& token, std::uint32_t table, SSLexInput::Kind kind);

    // --- Attachment and expression lists ---
    // Attaches a table set (borrowed) and, when no list is current yet,
    // pushes expression list 0.
    void setTableSet(const SSLexTableSet& tables);
    // Attaches an input (borrowed).
    void setInput(SSLexInput& input);
    const SSLexTableSet* tableSet() const { return tables_; }
    SSLexInput* input() const { return input_; }

    // Makes list `index` current, remembering the old one (SSLex0106e when
    // there is no such list).
    void pushExpressionList(std::uint32_t index);
    // Returns to the remembered list (SSLifo0004e / SSLifo0002e when none).
    void popExpressionList();
    // Pop, then push `index`.
    void switchExpressionList(std::uint32_t index);
    std::uint32_t currentExpressionList() const { return currentList_; }
    std::size_t expressionListDepth() const { return listStack_.count(); }

    // Tokens handed out so far.
    std::uint64_t tokensReturned() const { return tokensReturned_; }

  private:
    // The longest match from the mark: the candidate's accept entry, where it
    // ends, whether any state accepted and whether a character was read.
    struct Match {
        const SSLexAcceptEntry* entry;
        SSLexMatchEnd end;
        bool matched;
        bool readAny;
    };
    Match longestMatch(SSLexInput& in, const SSLexExpressionList& list);
    // The token of the match from the mark to `end`; the input consumes it.
    SSRefPtr<SSToken> buildToken(SSLexInput& input, std::int32_t tokenNumber,
                                 const SSLexMatchEnd& end) {
        SSToken::Fields fields;
        fields.tokenNumber = tokenNumber;
        fields.text = input.bytes(input.mark(), end.position);
        fields.line = input.markLine();
        fields.offset = input.startColumn();
        fields.streamOffset = static_cast<std::uint32_t>(input.markStreamOffset());
        fields.singleByte = input.kind() != SSLexInput::Unicode16;
        SSRefPtr<SSToken> token(SSToken::createInline(fields));
        input.consume(end);
        return token;
    }
    // Follows an accept entry's push, pop or switch; the table set checked
    // its target list while loading.
    void changeExpressionList(const SSLexAcceptEntry& entry);
    void enterTargetList(std::uint32_t index);
    void returnToList();
    // Counts a token handed out; an entry with an alternate number or a
    // keyword table renumbers it.
    void finishToken(SSToken& token, const SSLexAcceptEntry& entry) {
        ++tokensReturned_;
        if (entry.flags & (kSSLexFlagAlternate | kSSLexFlagKeyword)) renumberToken(token, entry);
    }
    void renumberToken(SSToken& token, const SSLexAcceptEntry& entry);

    const SSLexTableSet* tables_ = nullptr;
    SSLexInput* input_ = nullptr;
    std::unique_ptr<SSLexInput> ownedInput_;
    std::uint64_t tokensReturned_ = 0;
    std::uint32_t currentList_ = 0;
    // The current list of tables_; empty when it must be looked up again
    // (after a new table set or a change made through the public calls).
    const SSLexExpressionList* list_ = nullptr;
    SSLifo<std::uint32_t> listStack_{32, 32};
};

}  // namespace tessel::parser
