#include "command_line.h"

#include <array>
#include <string_view>

#include "desktop_texts.h"
#include "tessel_cat.h"

namespace tessel::desktop {

namespace {

// Qt's options (QGuiApplication's, QApplication's and those of the X11
// platform), written with one dash; Qt takes them with two as well.
constexpr std::array<std::string_view, 12> kQtOptionsWithValue = {
    "-platform",        "-platformpluginpath",
    "-platformtheme",   "-plugin",
    "-qwindowgeometry", "-qwindowicon",
    "-qwindowtitle",    "-display",
    "-geometry",        "-style",
    "-stylesheet",      "-session"};
constexpr std::array<std::string_view, 6> kQtFlags = {"-reverse", "-widgetcount", "-nograb",
                                                      "-dograb",  "-sync",        "-qmljsdebugger"};

bool isOneOf(std::string_view name, auto const& names) {
    for (std::string_view known : names)
        if (name == known) return true;
    return false;
}

// Whether `argument`, with its dashes, names a Qt option, and whether the
// next argument is its value (not given as "-name=value").
bool isQtOption(std::string_view argument, bool* takesNext) {
    std::string_view name = argument.starts_with("--") ? argument.substr(1) : argument;
    std::string_view::size_type equals = name.find('=');
    bool valueAttached = equals != std::string_view::npos;
    if (valueAttached) name = name.substr(0, equals);
    if (isOneOf(name, kQtOptionsWithValue)) {
        *takesNext = !valueAttached;
        return true;
    }
    *takesNext = false;
    return isOneOf(name, kQtFlags);
}

}  // namespace

std::optional<int> answerCommandLine(int argc, const char* const* argv, std::ostream& out,
                                     std::ostream& err) {
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == "--") break;  // only documents follow
        if (argument == "--help") {
            out << text::kCommandLineHelp;
            return 0;
        }
        if (argument == "--version") {
            out << text::with(text::kCommandLineVersion, QString::fromUtf8(TESSEL_VERSION),
                              QString::fromUtf8(f_pszDLLName()),
                              QString::fromUtf8(f_pszDLLVersion()))
                       .toStdString();
            return 0;
        }
        bool takesNext = false;
        if (isQtOption(argument, &takesNext)) {
            if (takesNext) ++i;
            continue;
        }
        if (argument.starts_with("--")) {
            err << text::with(text::kCommandLineUnknownOption, QString::fromUtf8(argument))
                       .toStdString();
            return kCommandLineUsageError;
        }
    }
    return std::nullopt;
}

}  // namespace tessel::desktop
