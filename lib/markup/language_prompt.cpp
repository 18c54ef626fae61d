#include "markup/language_prompt.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "markup/code_page_charset.h"
#include "resources/language_dialog_template.h"

namespace tessel::markup {

namespace {

void print(std::FILE* out, const std::string& text) {
    std::fputs(text.c_str(), out);
    std::fflush(out);
}

// One line without its line end and surrounding blanks; none at end of input.
std::optional<std::string> readAnswer(std::FILE* in) {
    std::string line;
    char chunk[256];
    bool readAny = false;
    while (std::fgets(chunk, sizeof chunk, in) != nullptr) {
        readAny = true;
        line += chunk;
        if (!line.empty() && line.back() == '\n') break;
    }
    if (!readAny) return std::nullopt;
    std::size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    std::size_t last = line.find_last_not_of(" \t\r\n");
    return line.substr(first, last - first + 1);
}

std::string charsetColumn(unsigned codePage) {
    std::string name;
    return charsetNameForCodePage(codePage, name) ? name : "-";
}

void printList(const LanguageDialogModel& model, std::FILE* out) {
    std::string text(resources::kLanguageDialogCaption);
    text += "\n";
    const auto& entries = model.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        char line[160];
        std::snprintf(line, sizeof line, "%c%4zu  %-50s %6u  %s\n",
                      model.selection() == i ? '*' : ' ', i + 1, entries[i].name.c_str(),
                      entries[i].codePage, charsetColumn(entries[i].codePage).c_str());
        text += line;
    }
    print(out, text);
}

// The index of the language the user chose; none to cancel.
std::optional<std::size_t> askLanguage(const LanguageDialogModel& model, std::FILE* in,
                                       std::FILE* out) {
    std::size_t count = model.entries().size();
    for (;;) {
        std::string prompt = "Language (1-" + std::to_string(count);
        if (model.selection()) prompt += ", Enter for " + std::to_string(*model.selection() + 1);
        prompt += ", 0 to cancel): ";
        print(out, prompt);
        std::optional<std::string> answer = readAnswer(in);
        if (!answer || *answer == "0") return std::nullopt;
        if (answer->empty() && model.selection()) return model.selection();
        char* end = nullptr;
        unsigned long number = std::strtoul(answer->c_str(), &end, 10);
        if (!answer->empty() && *end == '\0' && number >= 1 && number <= count) {
            return static_cast<std::size_t>(number - 1);
        }
        print(out, "Type a number from 1 to " + std::to_string(count) + ", or 0 to cancel.\n");
    }
}

void printMessage(DialogMessage message, std::FILE* out) {
    print(out, std::string(dialogMessageText(message)) + "\n");
}

// Asks for the character set of the selected language and ends the dialog
// with OK; false to choose the language again. End of input cancels.
bool askCharsetAndFinish(LanguageDialogModel& model, std::FILE* in, std::FILE* out) {
    for (;;) {
        std::string shown = model.charsetText();
        std::string prompt = shown.empty() || model.customCharsetChecked()
                                 ? "Character set: "
                                 : "Character set (Enter for " + shown + "): ";
        print(out, prompt);
        std::optional<std::string> answer = readAnswer(in);
        if (!answer) {
            model.cancel();
            return true;
        }
        bool custom = !answer->empty();
        model.clickCustomCharset(custom);
        if (custom) model.editCharsetText(*answer);
        Exchange result = model.ok();
        if (result.accepted) return true;
        if (result.message == DialogMessage::SelectLanguage) {
            printMessage(result.message, out);
            return false;
        }
        if (result.message != DialogMessage::None) {
            printMessage(result.message, out);
        } else {
            print(out, "No character set name is known for this code page; type one.\n");
        }
    }
}

}  // namespace

void promptForLanguage(LanguageDialogModel& model, std::FILE* in, std::FILE* out) {
    printList(model, out);
    while (model.state() == LanguageDialogModel::State::Open) {
        std::optional<std::size_t> index = askLanguage(model, in, out);
        if (!index) {
            model.cancel();
            return;
        }
        Exchange selected = model.selectEntry(*index);
        if (selected.message != DialogMessage::None) {
            printMessage(selected.message, out);
            continue;
        }
        if (askCharsetAndFinish(model, in, out)) return;
    }
}

}  // namespace tessel::markup
