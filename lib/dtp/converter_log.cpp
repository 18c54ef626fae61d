#include "dtp/converter_log.h"

#include <string>
#include <vector>

#include "dtp/error_ref.h"
#include "platform/format.h"
#include "resources/markup_framework_texts.h"

namespace tessel::dtp {

namespace {

struct ConverterLogState {
    platform::OutputStream* log = nullptr;
    int entries = 0;
    int firstEntry = 1;
    bool holding = false;
    std::vector<std::string> held;  // entries without their number
};

ConverterLogState& state() {
    static ConverterLogState current;
    return current;
}

// Every message type has the same, empty, prefix in this system.
std::string_view typePrefix(int) {
    return {};
}

void writeEntry(ConverterLogState& current, const std::string& entry) {
    std::string number = std::to_string(current.firstEntry + current.entries);
    ++current.entries;
    current.log->write(platform::fillPlaceholders(resources::kLogEntry, {number, entry}));
}

}  // namespace

void setCurrentConverterLog(platform::OutputStream* log, int nextEntry) {
    state().log = log;
    state().entries = 0;
    state().firstEntry = nextEntry;
    state().holding = false;
    state().held.clear();
}

platform::OutputStream* currentConverterLog() {
    return state().log;
}

int converterLogEntryCount() {
    return state().entries;
}

int nextConverterLogEntry() {
    return state().firstEntry + state().entries;
}

void reportMessage(std::string_view text, int type,
                   std::initializer_list<MessageReference> references) {
    std::vector<CErrorRef> kept;
    for (const MessageReference& reference : references) {
        if (reference.kind != kNoReference && reference.piece != nullptr) {
            kept.emplace_back(reference.kind, *reference.piece);
        }
    }
    ConverterLogState& current = state();
    if (current.log == nullptr) return;
    std::string entry(typePrefix(type));
    entry += text;
    for (const CErrorRef& reference : kept) {
        entry +=
            platform::fillPlaceholders(resources::kLogReferenceLine, {reference.description()});
    }
    if (current.holding) {
        current.held.push_back(std::move(entry));
        return;
    }
    writeEntry(current, entry);
}

HeldConverterMessages::HeldConverterMessages() {
    state().holding = true;
}

HeldConverterMessages::~HeldConverterMessages() {
    state().holding = false;
}

void releaseHeldConverterMessages() {
    ConverterLogState& current = state();
    current.holding = false;
    for (const std::string& entry : current.held) {
        if (current.log != nullptr) writeEntry(current, entry);
    }
    current.held.clear();
}

void dropHeldConverterMessages() {
    state().holding = false;
    state().held.clear();
}

}  // namespace tessel::dtp
