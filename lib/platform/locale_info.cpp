#include "platform/locale_info.h"

#include <algorithm>

#include "resources/locale_table.h"

namespace tessel::platform {

namespace {

const resources::LocaleRecord* findLocale(std::uint32_t locale) {
    auto table = resources::localeTable();
    auto it = std::lower_bound(table.begin(), table.end(), locale,
                               [](const auto& record, std::uint32_t id) { return record.id < id; });
    if (it == table.end() || it->id != locale) return nullptr;
    return &*it;
}

constexpr std::size_t kMaxLanguageName = 50;

}  // namespace

std::optional<std::string_view> localeLanguageName(std::uint32_t locale) {
    const resources::LocaleRecord* record = findLocale(locale);
    if (record == nullptr) return std::nullopt;
    return record->displayName.substr(0, kMaxLanguageName);
}

std::optional<unsigned> localeDefaultAnsiCodePage(std::uint32_t locale) {
    const resources::LocaleRecord* record = findLocale(locale);
    if (record == nullptr) return std::nullopt;
    return record->defaultAnsiCodePage;
}

}  // namespace tessel::platform
