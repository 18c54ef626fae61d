#include "verify/check_targets.h"

#include <array>
#include <charconv>

#include "frame/return_codes.h"
#include "platform/code_page_codec.h"
#include "resources/back_conversion_texts.h"

namespace tessel::verify {

namespace {

namespace fc = tessel::frame;

constexpr TagRules kHtmlTags{PairStyle::SlashClosers, "<>&", false};
constexpr TagRules kDtpTags{PairStyle::DollarClosers, "", false};
constexpr TagRules kVenturaTags{PairStyle::None, "", true};
constexpr TagRules kPlainText{PairStyle::None, "", false};

constexpr std::array kTargets = {
    CheckTarget{"html", fc::kRtfToHtml, kHtmlTags, false},
    CheckTarget{"html-compatible", fc::kRtfToCompatibleHtml, kHtmlTags, false},
    CheckTarget{"html-multilingual", fc::kRtfToHtmlMultiLingual, kHtmlTags, true},
    CheckTarget{"pagemaker", fc::kRtfToPageMaker, kDtpTags, false},
    CheckTarget{"quark", fc::kRtfToXPress, kDtpTags, false},
    CheckTarget{"ventura4", fc::kRtfToVentura4, kVenturaTags, false},
    CheckTarget{"ventura", fc::kRtfToText, kVenturaTags, false},
    CheckTarget{"sgml", fc::kRtfToSgml, kHtmlTags, false},
    CheckTarget{"text", fc::kRtfToText, kPlainText, false},
};

}  // namespace

std::span<const CheckTarget> checkTargets() {
    return kTargets;
}

std::string TargetChoice::name() const {
    if (target == nullptr) return {};
    std::string text(target->key);
    if (target->takesCodePage) text += ":" + std::to_string(codePage);
    return text;
}

std::optional<TargetChoice> parseTarget(std::string_view text) {
    std::string_view key = text.substr(0, text.find(':'));
    for (const CheckTarget& target : kTargets) {
        if (target.key != key) continue;
        TargetChoice choice{&target, 0};
        if (!target.takesCodePage) {
            if (key.size() != text.size()) return std::nullopt;
            return choice;
        }
        if (key.size() == text.size()) return std::nullopt;
        std::string_view number = text.substr(key.size() + 1);
        auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), choice.codePage);
        if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
        if (choice.codePage != resources::kUtf8CodePage &&
            platform::CodePageCodec::find(choice.codePage) == nullptr) {
            return std::nullopt;
        }
        return choice;
    }
    return std::nullopt;
}

std::string targetKeys() {
    std::string keys;
    for (const CheckTarget& target : kTargets) {
        if (!keys.empty()) keys += '|';
        keys += target.key;
        if (target.takesCodePage) keys += ":CP";
    }
    return keys;
}

}  // namespace tessel::verify
