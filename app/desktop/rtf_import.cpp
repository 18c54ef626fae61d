#include "rtf_import.h"

#include <QColor>
#include <QHash>
#include <QTextCursor>
#include <QTextDocument>
#include <QVector>
#include <array>
#include <string_view>

#include "desktop_texts.h"
#include "windows_1252.h"

namespace tessel::desktop {

namespace {

constexpr int kMaximumDepth = 1000;

// Destinations whose text is not part of the document.
constexpr std::array<std::string_view, 27> kSkippedDestinations = {
    "stylesheet",
    "info",
    "pict",
    "object",
    "header",
    "headerl",
    "headerr",
    "headerf",
    "footer",
    "footerl",
    "footerr",
    "footerf",
    "fldinst",
    "themedata",
    "datastore",
    "listtable",
    "listoverridetable",
    "rsidtbl",
    "generator",
    "xmlnstbl",
    "latentstyles",
    "colorschememapping",
    "footnote",
    "bkmkstart",
    "bkmkend",
    "filetbl",
    "revtbl",
};

enum class Destination { Text, FontTable, ColourTable, Skipped };

struct GroupState {
    Destination destination = Destination::Text;
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false;
    int colour = 0;
    int unicodeSkip = 1;
};

class RtfReader {
  public:
    RtfReader(const QByteArray& rtf, QTextDocument& document)
        : in_(rtf), document_(document), cursor_(&document) {}

    bool read(QString* error) {
        if (!in_.startsWith("{\\rtf")) return fail(error, QString::fromUtf8(text::kNotAnRtfFile));
        document_.clear();
        cursor_ = QTextCursor(&document_);
        while (at_ < in_.size()) {
            char c = in_[at_++];
            if (c == '{') {
                if (stack_.size() >= kMaximumDepth) {
                    return fail(error, QStringLiteral("The RTF groups nest too deeply."));
                }
                flush();
                skipPending_ = 0;
                stack_.push_back(state_);
                afterGroupStart_ = true;
                continue;
            }
            bool startedGroup = afterGroupStart_;
            afterGroupStart_ = false;
            if (c == '}') {
                flush();
                skipPending_ = 0;
                endEntry();
                if (stack_.isEmpty()) break;  // the end of the document
                state_ = stack_.takeLast();
                if (stack_.isEmpty()) break;
            } else if (c == '\\') {
                control(startedGroup);
            } else if (c != '\r' && c != '\n') {
                character(fromWindows1252(QByteArray(1, c)).at(0));
            }
        }
        flush();
        return true;
    }

  private:
    static bool fail(QString* error, const QString& reason) {
        if (error) *error = reason;
        return false;
    }

    void control(bool startedGroup) {
        if (at_ >= in_.size()) return;
        char c = in_[at_];
        if (!isLetter(c)) {
            ++at_;
            symbol(c, startedGroup);
            return;
        }
        qsizetype start = at_;
        while (at_ < in_.size() && isLetter(in_[at_]) && at_ - start < 32) ++at_;
        QByteArray word = in_.mid(start, at_ - start);
        bool hasNumber = false;
        long number = 0;
        bool negative = at_ < in_.size() && in_[at_] == '-';
        if (negative) ++at_;
        int digits = 0;
        while (at_ < in_.size() && isDigit(in_[at_])) {
            if (digits++ < 9) number = number * 10 + (in_[at_] - '0');
            hasNumber = true;
            ++at_;
        }
        if (negative) number = -number;
        if (at_ < in_.size() && in_[at_] == ' ') ++at_;
        keyword(word, hasNumber, static_cast<int>(number), startedGroup);
    }

    void symbol(char c, bool startedGroup) {
        switch (c) {
            case '\\':
            case '{':
            case '}':
                character(QChar(c));
                break;
            case '~':
                character(QChar(0x00A0));
                break;
            case '_':
                character(QChar(0x2011));
                break;
            case '\'':
                hexCharacter();
                break;
            case '*':
                // An optional destination: passed over unless it is known,
                // and none of the optional ones carry document text.
                if (startedGroup) state_.destination = Destination::Skipped;
                break;
            case '\r':
            case '\n':
                paragraph();
                break;
            default:
                break;  // "\-" optional hyphen, "\:" index entries and the like
        }
    }

    void hexCharacter() {
        int value = 0;
        for (int i = 0; i < 2; ++i) {
            if (at_ >= in_.size()) return;
            int digit = hexDigit(in_[at_]);
            if (digit < 0) return;
            value = value * 16 + digit;
            ++at_;
        }
        if (skipPending_ > 0) {
            --skipPending_;
            return;
        }
        character(fromWindows1252(QByteArray(1, static_cast<char>(value))).at(0));
    }

    void keyword(const QByteArray& word, bool hasNumber, int number, bool startedGroup) {
        std::string_view w(word.constData(), static_cast<std::size_t>(word.size()));
        if (startedGroup && destination(w)) return;
        if (w == "u" && hasNumber) {
            character(QChar(static_cast<char16_t>(number < 0 ? number + 65536 : number)));
            skipPending_ = state_.unicodeSkip;
            return;
        }
        if (w == "bin" && hasNumber) {
            flush();
            at_ = std::min(in_.size(), at_ + std::max(0, number));
            return;
        }
        int value = hasNumber ? number : 1;
        if (w == "par" || w == "sect" || w == "page") {
            paragraph();
        } else if (w == "line") {
            character(QChar(QChar::LineSeparator));
        } else if (w == "tab") {
            character(QChar('\t'));
        } else if (w == "emdash") {
            character(QChar(0x2014));
        } else if (w == "endash") {
            character(QChar(0x2013));
        } else if (w == "bullet") {
            character(QChar(0x2022));
        } else if (w == "lquote") {
            character(QChar(0x2018));
        } else if (w == "rquote") {
            character(QChar(0x2019));
        } else if (w == "ldblquote") {
            character(QChar(0x201C));
        } else if (w == "rdblquote") {
            character(QChar(0x201D));
        } else {
            formatting(w, hasNumber, value);
        }
    }

    void formatting(std::string_view w, bool hasNumber, int value) {
        GroupState before = state_;
        if (w == "f" && hasNumber) {
            state_.font = value;
            if (state_.destination == Destination::FontTable) {
                flush();
                entryFont_ = value;
            }
        } else if (w == "fs" && hasNumber) {
            state_.halfPoints = value > 0 ? value : 24;
        } else if (w == "b") {
            state_.bold = value != 0;
        } else if (w == "i") {
            state_.italic = value != 0;
        } else if (w == "ulnone" || (w == "ul" && value == 0)) {
            state_.underline = false;
        } else if (w.substr(0, 2) == "ul" && w != "ulc") {
            state_.underline = true;
        } else if (w == "v") {
            state_.hidden = value != 0;
        } else if (w == "cf") {
            state_.colour = value;
        } else if (w == "plain") {
            GroupState plain;
            plain.destination = state_.destination;
            plain.unicodeSkip = state_.unicodeSkip;
            state_ = plain;
        } else if (w == "uc" && hasNumber) {
            state_.unicodeSkip = std::max(0, value);
        } else if (state_.destination == Destination::ColourTable) {
            if (w == "red") colourEntry_.setRed(std::clamp(value, 0, 255));
            if (w == "green") colourEntry_.setGreen(std::clamp(value, 0, 255));
            if (w == "blue") colourEntry_.setBlue(std::clamp(value, 0, 255));
            colourSet_ = true;
        }
        if (changesText(before)) flush();
    }

    bool changesText(const GroupState& before) const {
        return before.font != state_.font || before.halfPoints != state_.halfPoints ||
               before.bold != state_.bold || before.italic != state_.italic ||
               before.underline != state_.underline || before.hidden != state_.hidden ||
               before.colour != state_.colour;
    }

    // A destination keyword right after "{" (or "{\*"); true when handled.
    bool destination(std::string_view w) {
        if (w == "fonttbl") {
            state_.destination = Destination::FontTable;
            return true;
        }
        if (w == "colortbl") {
            state_.destination = Destination::ColourTable;
            colours_.clear();
            return true;
        }
        for (std::string_view skipped : kSkippedDestinations) {
            if (w == skipped) {
                state_.destination = Destination::Skipped;
                return true;
            }
        }
        return false;
    }

    void character(QChar c) {
        if (skipPending_ > 0) {
            --skipPending_;
            return;
        }
        switch (state_.destination) {
            case Destination::Text:
                if (!state_.hidden) pending_.append(c);
                break;
            case Destination::FontTable:
                if (c == QChar(';')) {
                    fonts_.insert(entryFont_, entryName_.trimmed());
                    entryName_.clear();
                } else {
                    entryName_.append(c);
                }
                break;
            case Destination::ColourTable:
                if (c == QChar(';')) {
                    colours_ << (colourSet_ ? colourEntry_ : QColor());
                    colourEntry_ = QColor(0, 0, 0);
                    colourSet_ = false;
                }
                break;
            case Destination::Skipped:
                break;
        }
    }

    // A font table entry closed by its group rather than by ";".
    void endEntry() {
        if (state_.destination == Destination::FontTable && !entryName_.trimmed().isEmpty()) {
            fonts_.insert(entryFont_, entryName_.trimmed());
        }
        if (state_.destination == Destination::FontTable) entryName_.clear();
    }

    void paragraph() {
        if (state_.destination != Destination::Text) return;
        flush();
        cursor_.insertBlock();
    }

    void flush() {
        if (pending_.isEmpty()) return;
        cursor_.insertText(pending_, currentFormat());
        pending_.clear();
    }

    QTextCharFormat currentFormat() const {
        QTextCharFormat format;
        QString family = fonts_.value(state_.font);
        if (!family.isEmpty()) format.setFontFamilies({family});
        format.setFontPointSize(state_.halfPoints / 2.0);
        format.setFontWeight(state_.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(state_.italic);
        format.setFontUnderline(state_.underline);
        if (state_.colour > 0 && state_.colour < colours_.size() &&
            colours_[state_.colour].isValid()) {
            format.setForeground(colours_[state_.colour]);
        }
        return format;
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static int hexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    const QByteArray& in_;
    qsizetype at_ = 0;
    QTextDocument& document_;
    QTextCursor cursor_;
    GroupState state_;
    QVector<GroupState> stack_;
    bool afterGroupStart_ = false;
    int skipPending_ = 0;
    QString pending_;
    QHash<int, QString> fonts_;
    int entryFont_ = 0;
    QString entryName_;
    QVector<QColor> colours_;
    QColor colourEntry_{0, 0, 0};
    bool colourSet_ = false;
};

}  // namespace

bool fromRtf(const QByteArray& rtf, QTextDocument& document, QString* error) {
    return RtfReader(rtf, document).read(error);
}

}  // namespace tessel::desktop
