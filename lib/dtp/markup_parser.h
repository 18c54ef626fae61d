// The base of the grammar-driven converter parsers. It binds the parser
// runtime to the markup framework: it loads the lexer and parser tables from
// the library's resources, reads the source file, owns the lexer and the
// replacement list, records tag pieces for the converters' reduce actions,
// reports syntax errors as located "Unexpected text" entries, and runs a
// whole conversion with its own log.
//
// Usage (a converter):
//   class CMyParser : public CMarkupParser {
//       CMyParser(const std::string& source)
//           : CMarkupParser(source, "MyLexTable", "LEXTABLE", "MyYaccTable", "YACCTABLE") {
//           attachLexer(std::make_unique<CMyLexer>());
//       }
//       parser::SSRefPtr<parser::SSYaccStackItem> reduce(std::uint32_t production,
//                                                        std::uint32_t length) override;
//   };
//   int result = CMyParser(source).runWithLog("");
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dtp/text_piece.h"
#include "dtp/text_to_rtf_replace_list.h"
#include "parser/ss_lex.h"
#include "parser/ss_lex_file_input.h"
#include "parser/ss_lex_table_set.h"
#include "parser/ss_yacc.h"
#include "parser/ss_yacc_table_set.h"

namespace tessel::dtp {

// The stack item of the converter parsers: the runtime's item with the piece
// of source it stands for and a counter for the converters' own use.
class CMarkupStackItem : public parser::SSYaccStackItem {
  public:
    explicit CMarkupStackItem(std::int32_t fileRef) { piece.fileRef = fileRef; }

    // Makes the item what a new one for `fileRef` is: no token, no piece,
    // default marks (the state is set when the item is pushed again).
    void clear(std::int32_t fileRef) {
        setToken(nullptr);
        setUserWord(0, 0);
        setUserWord(1, 0);
        piece.text.clear();
        piece.startLine = piece.startColumn = piece.endLine = piece.endColumn = 0;
        piece.fileRef = fileRef;
        mayStartPiece = true;
        runLength = 0;
    }

    CTextPiece piece;  // range unset until a reduce action needs it
    // False once no later reduction marks or removes a range that starts at
    // this item: the pieces before it may then be written out.
    bool mayStartPiece = true;
    std::int32_t runLength = 0;

  protected:
    ~CMarkupStackItem() override = default;
};

class CMarkupParser : public parser::SSYacc {
  public:
    // Result codes of runWithLog besides a change count.
    static constexpr int kParseCutShort = -1;
    static constexpr int kOutputNotWritten = -2;

    // Loads the tables (SSYacc0115e / SSLex0108e when a resource is missing)
    // and reads the source (SSLex0101e missing, SSLex0102e empty).
    CMarkupParser(const std::string& sourceFile, std::string_view lexTable,
                  std::string_view lexTableType, std::string_view yaccTable,
                  std::string_view yaccTableType);
    ~CMarkupParser() override;

    parser::SSYaccStackItem* newStackItem() override;
    int syntaxError(std::uint32_t state, parser::SSToken& lookahead) override;

    // Piece recording: a and b are 0-based positions in the right-hand side
    // of the production being reduced.
    virtual void addInternal(CTextPiece piece);
    virtual void markInternal(std::int32_t a, std::int32_t b);
    virtual void addExternal(CTextPiece piece);
    virtual void markExternal(std::int32_t a, std::int32_t b);
    virtual void addRemoved(CTextPiece piece);
    virtual void markRemoved(std::int32_t a, std::int32_t b);

    // Protects the UTF-8 byte-order mark at the start of the source as an
    // external run when the conversion runs: it is no text, and comes back
    // as it was with its run.
    void markByteOrderMarkExternal();

    // The whole conversion: output (empty: the source name with ".RTF"),
    // log beside the source (".err", kept only when it holds entries).
    // Returns the pieces added, -1 (parse cut short), -2 (output not
    // written), -113 (entries in the log) or -115 (the output exists).
    virtual int runWithLog(const std::string& outputName);

    // Parses once; false when the parse was cut short or already ran.
    bool run();

    // Replaces the plain lexer by a converter's lexer (token names).
    void attachLexer(std::unique_ptr<parser::SSLex> lexer);
    // Replaces the default replacement list by a converter's list.
    void attachReplacementList(std::unique_ptr<CTextToRTFReplaceList> list);
    CTextToRTFReplaceList& replacementList() { return *list_; }

    const std::string& sourceFile() const { return sourceFile_; }
    std::int32_t sourceFileRef() const { return fileRef_; }
    // The name the log header shows (by default the source file).
    void setLoggedSourceName(std::string name) { loggedSourceName_ = std::move(name); }

    // During reduce(): the item of the i-th right-hand-side symbol. Every
    // item of this parser's stack is made by newStackItem(), the bottom one
    // included.
    CMarkupStackItem& markupItem(std::int32_t index) const {
        return *static_cast<CMarkupStackItem*>(elementFromProduction(index));
    }
    // The piece of the i-th right-hand-side symbol, taken from its token when
    // the item holds no valid piece.
    CTextPiece symbolPiece(std::int32_t index) const;
    // Widens `piece` by the range of the i-th right-hand-side symbol (its
    // text is not copied).
    void widenBySymbol(CTextPiece& piece, std::int32_t index) const;
    // The piece for symbols a to b: a's piece widened by b's.
    CTextPiece piecesFor(std::int32_t a, std::int32_t b) const;
    // CTextPiece::isValid(), without the file lookup for this parser's file.
    bool isValidPiece(const CTextPiece& piece) const {
        if (piece.fileRef != fileRef_) return piece.isValid();
        return sourceFileNamed_ && piece.hasValidPositions();
    }

  protected:
    // The empty result of a reduction with `length` right-hand-side symbols:
    // the first symbol's item, cleared (the stack gives it up in the
    // reduction, so no block is allocated and freed), or a new item for an
    // empty right-hand side.
    parser::SSRefPtr<parser::SSYaccStackItem> emptyResult(std::uint32_t length);
    // A spare item of this parser's stack made new for this parser's file,
    // or nullptr: newStackItem() takes one before it makes an item.
    CMarkupStackItem* reusedItem() {
        auto* item = static_cast<CMarkupStackItem*>(takeSpareItem());
        if (item != nullptr) item->clear(fileRef_);
        return item;
    }

  private:
    // Takes `piece` by reference: a piece is moved once, into the list.
    void addPiece(CTextPiece&& piece, std::int32_t kind);
    // Writes the pieces that no later reduction can reach: those before the
    // start of the lowest stack item whose range may still be marked.
    void writeSettledPieces();
    std::string expectedText(std::uint32_t state) const;
    bool openLog(const std::string& logName);
    // Closes the log and settles the run's result; `output` is the RTF of
    // the run, removed when entries could not be written.
    int finishLog(int result, const std::string& logName, const std::string& output);

    // Loaded once per process and shared by every parser of the grammar.
    const parser::SSYaccTableSet& yaccTables_;
    parser::SSLexFileInput input_;
    const parser::SSLexTableSet& lexTables_;
    std::unique_ptr<parser::SSLex> lexer_;
    std::string sourceFile_;
    std::string loggedSourceName_;
    bool byteOrderMarkExternal_ = false;
    std::int32_t fileRef_;
    // Whether fileRef_ names a file; names never change once registered.
    bool sourceFileNamed_;
    std::unique_ptr<CTextToRTFReplaceList> list_;
    // The list's length at which settled pieces are next looked for.
    std::size_t nextWrite_ = 0;
    bool reportSyntaxErrors_ = true;
    bool overwrite_ = false;
    bool ran_ = false;
    platform::OutputStream log_;
};

}  // namespace tessel::dtp
