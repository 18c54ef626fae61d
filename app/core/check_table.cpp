#include "core/check_table.h"

#include <array>

#include "verify/check_targets.h"
#include "verify/roundtrip.h"

namespace tessel::app {

namespace {

constexpr std::string_view kUnavailable = "This check is not available for this format yet.";

// One verify and one round-trip row per format menu (both Ventura
// sub-menus), in menu order. The Ventura rows keep the Ventura group, as the
// menu's RTF -> Text commands do.
const std::array kChecks = {
    CheckCommand{
        .kind = CheckKind::Verify,
        .format = "ventura4",
        .group = FormatGroup::Ventura,
        .fileChoiceTitle = "Select Original Ventura RTF Files",
        .fileFilter = filter::kRtf,
        .translationChoiceTitle = "Select Translated Ventura RTF Files",
        .heading = "Verifying Ventura 4 translations...\n\n",
        .menuPath = "Ve&ntura/Version &4/Verify &Translation...",
        .statusTip = "Checks translated RTF files against their originals before they are "
                     "converted back to Ventura 4 tagged text.",
    },
    CheckCommand{
        .kind = CheckKind::RoundTrip,
        .format = "ventura4",
        .group = FormatGroup::Ventura,
        .fileChoiceTitle = "Select Ventura Files",
        .fileFilter = filter::kText,
        .heading = "Checking the round trip of Ventura 4 files...\n\n",
        .menuPath = "Ve&ntura/Version &4/Chec&k Round Trip...",
        .statusTip = "Marks up Ventura 4 tagged text files, converts them back untranslated "
                     "and lists every difference.",
    },
    CheckCommand{
        .kind = CheckKind::Verify,
        .format = "ventura",
        .group = FormatGroup::Ventura,
        .fileChoiceTitle = "Select Original Ventura RTF Files",
        .fileFilter = filter::kRtf,
        .translationChoiceTitle = "Select Translated Ventura RTF Files",
        .heading = "Verifying Ventura 5 translations...\n\n",
        .menuPath = "Ve&ntura/Version &5 Or Later/Verify &Translation...",
        .statusTip = "Checks translated RTF files against their originals before they are "
                     "converted back to Ventura 5 (and later) text.",
    },
    CheckCommand{
        .kind = CheckKind::RoundTrip,
        .format = "ventura",
        .group = FormatGroup::Ventura,
        .fileChoiceTitle = "Select Ventura Files",
        .fileFilter = filter::kText,
        .heading = "Checking the round trip of Ventura 5 files...\n\n",
        .menuPath = "Ve&ntura/Version &5 Or Later/Chec&k Round Trip...",
        .statusTip = "Marks up Ventura 5 (and later) tagged text files, converts them back "
                     "untranslated and lists every difference.",
    },
    CheckCommand{
        .kind = CheckKind::Verify,
        .format = "pagemaker",
        .group = FormatGroup::PageMaker,
        .fileChoiceTitle = "Select Original PageMaker RTF Files",
        .fileFilter = filter::kRtf,
        .translationChoiceTitle = "Select Translated PageMaker RTF Files",
        .heading = "Verifying PageMaker translations...\n\n",
        .menuPath = "&PageMaker/Verify &Translation...",
        .statusTip = "Checks translated RTF files against their originals before they are "
                     "converted back to PageMaker tagged text.",
    },
    CheckCommand{
        .kind = CheckKind::RoundTrip,
        .format = "pagemaker",
        .group = FormatGroup::PageMaker,
        .fileChoiceTitle = "Select PageMaker Files",
        .fileFilter = filter::kText,
        .heading = "Checking the round trip of PageMaker files...\n\n",
        .menuPath = "&PageMaker/Chec&k Round Trip...",
        .statusTip = "Marks up PageMaker tagged text files, converts them back untranslated "
                     "and lists every difference.",
    },
    CheckCommand{
        .kind = CheckKind::Verify,
        .format = "quark",
        .group = FormatGroup::QuarkXPress,
        .fileChoiceTitle = "Select Original QuarkXPress RTF Files",
        .fileFilter = filter::kRtf,
        .translationChoiceTitle = "Select Translated QuarkXPress RTF Files",
        .heading = "Verifying QuarkXPress translations...\n\n",
        .menuPath = "&QuarkXPress/Verify &Translation...",
        .statusTip = "Checks translated RTF files against their originals before they are "
                     "converted back to QuarkXPress tags.",
    },
    CheckCommand{
        .kind = CheckKind::RoundTrip,
        .format = "quark",
        .group = FormatGroup::QuarkXPress,
        .fileChoiceTitle = "Select QuarkXPress Files",
        .fileFilter = filter::kQuarkXPress,
        .heading = "Checking the round trip of QuarkXPress files...\n\n",
        .menuPath = "&QuarkXPress/Chec&k Round Trip...",
        .statusTip = "Marks up QuarkXPress tag files, converts them back untranslated and lists "
                     "every difference.",
    },
    // HTML translations are checked for the RTF -> Text command, which writes
    // characters beyond Windows 1252 as numeric references.
    CheckCommand{
        .kind = CheckKind::Verify,
        .format = "html",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select Original HTML RTF Files",
        .fileFilter = filter::kRtf,
        .translationChoiceTitle = "Select Translated HTML RTF Files",
        .heading = "Verifying HTML translations...\n\n",
        .menuPath = "H&TML/Verify &Translation...",
        .statusTip = "Checks translated RTF files against their originals before they are "
                     "converted back to HTML.",
    },
    CheckCommand{
        .kind = CheckKind::RoundTrip,
        .format = "html",
        .group = FormatGroup::Html,
        .fileChoiceTitle = "Select HTML Files",
        .fileFilter = filter::kHtml,
        .heading = "Checking the round trip of HTML files...\n\n",
        .menuPath = "H&TML/Chec&k Round Trip...",
        .statusTip =
            "Marks up HTML files, converts them back untranslated and lists every difference.",
    },
};

}  // namespace

std::span<const CheckCommand> checkTable() {
    return kChecks;
}

bool checkAvailable(const CheckCommand& check) {
    if (check.kind == CheckKind::Verify) return verify::parseTarget(check.format).has_value();
    return verify::findRoundTripFormat(check.format) != nullptr;
}

std::string_view checkStatusTip(const CheckCommand& check) {
    return checkAvailable(check) ? check.statusTip : kUnavailable;
}

}  // namespace tessel::app
