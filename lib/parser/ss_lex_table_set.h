// A loaded lexer table: its expression lists (list 0 is the initial one) and
// keyword tables.
//
// Image layout (unsigned 32-bit little-endian): a 36-byte header (0 list
// count, 4 magic "XLSS" or 0, 8 keyword table count, rest reserved), then the
// expression-list blocks back to back (each starts with its magic and its
// size), then the keyword-table blocks (each starts with its size).
// Every offset and count is checked while loading: a damaged image throws
// SSLex0104e ("Invalid table") and is never read beyond its end. An accept
// entry that pushes or switches to a list the image lacks throws SSLex0106e
// with that list's index, so the scanner follows the entries unchecked.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "parser/ss_lex_expression_list.h"
#include "parser/ss_lex_keyword_table.h"

namespace tessel::parser {

class SSLexTableSet {
  public:
    static constexpr std::size_t kHeaderSize = 36;

    // Loads the named resource of the library ("LEXTABLE"; names ignore
    // case). A missing resource throws SSLex0108e with the name.
    static SSLexTableSet fromResource(std::string_view name, std::string_view type = "LEXTABLE");
    // The same tables, loaded once per process and kept (resources never
    // change): what a converter built for each file of a batch uses.
    static const SSLexTableSet& shared(std::string_view name, std::string_view type = "LEXTABLE");
    // Loads an image held by the caller; `name` appears in error messages.
    static SSLexTableSet fromImage(std::span<const std::uint8_t> image, std::string_view name);

    std::size_t expressionListCount() const { return lists_.size(); }
    // Throws SSLex0106e with `index` when there is no such list.
    const SSLexExpressionList& expressionList(std::size_t index) const {
        if (index >= lists_.size()) throwInvalidList(index);
        return lists_[index];
    }
    // The list an accept entry pushes or switches to: its index was checked
    // while loading. Precondition: index < expressionListCount().
    const SSLexExpressionList& targetList(std::size_t index) const { return lists_[index]; }

    std::size_t keywordTableCount() const { return keywords_.size(); }
    // Precondition: index < keywordTableCount().
    const SSLexKeywordTable& keywordTable(std::size_t index) const { return keywords_[index]; }

    const std::string& name() const { return name_; }

  private:
    SSLexTableSet(std::span<const std::uint8_t> image, std::string_view name);
    [[noreturn]] static void throwInvalidList(std::size_t index);
    // Throws SSLex0106e for the first accept entry whose push or switch
    // target is not a list of the set.
    void checkListTargets() const;

    std::string name_;
    std::vector<SSLexExpressionList> lists_;
    std::vector<SSLexKeywordTable> keywords_;
};

}  // namespace tessel::parser
