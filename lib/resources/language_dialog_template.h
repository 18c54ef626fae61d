// The language dialog as a template: caption, font, size and controls in
// dialog units, and the two messages of its data exchange.
#pragma once

#include <array>
#include <string_view>

namespace tessel::resources {

inline constexpr unsigned kLanguageDialogId = 129;
inline constexpr std::string_view kLanguageDialogCaption = "Select Language";
inline constexpr std::string_view kLanguageDialogFont = "MS Sans Serif";
inline constexpr int kLanguageDialogFontPoints = 8;
inline constexpr int kLanguageDialogWidth = 186;
inline constexpr int kLanguageDialogHeight = 63;

enum class DialogControlKind {
    SortedDropDownList,  // with a vertical scroll bar
    AutoCheckBox,
    EditField,  // with a border and automatic horizontal scrolling
    DefaultPushButton,
    PushButton,
};

struct DialogControl {
    int id;
    DialogControlKind kind;
    std::string_view text;
    int x, y, width, height;
};

inline constexpr int kLanguageListControl = 1000;
inline constexpr int kCustomCharsetCheckBox = 1004;
inline constexpr int kCharsetTextControl = 1003;
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;

inline constexpr std::array<DialogControl, 5> kLanguageDialogControls = {{
    {kLanguageListControl, DialogControlKind::SortedDropDownList, "", 7, 7, 172, 130},
    {kCustomCharsetCheckBox, DialogControlKind::AutoCheckBox, "Custom Character Set:", 7, 25, 96,
     10},
    {kCharsetTextControl, DialogControlKind::EditField, "", 111, 23, 68, 14},
    {kOkButton, DialogControlKind::DefaultPushButton, "OK", 35, 42, 50, 14},
    {kCancelButton, DialogControlKind::PushButton, "Cancel", 101, 42, 50, 14},
}};

// Shown with an information icon.
inline constexpr std::string_view kSelectLanguageMessage = "You must select a language!";
inline constexpr std::string_view kSpecifyCharsetMessage = "You must specify a Code Page string!";

}  // namespace tessel::resources
