#include "markup/language_dialog.h"

#include <array>
#include <cstdio>
#include <vector>

#include "markup/language_prompt.h"
#include "platform/host_hooks.h"
#include "platform/terminal.h"
#include "resources/language_dialog_template.h"

namespace tessel::markup {

namespace {

int resultOf(const Exchange& exchange) {
    if (exchange.accepted) return TESSEL_DIALOG_ACCEPTED;
    switch (exchange.message) {
        case DialogMessage::SelectLanguage:
            return TESSEL_DIALOG_SELECT_LANGUAGE;
        case DialogMessage::SpecifyCharset:
            return TESSEL_DIALOG_SPECIFY_CHARSET;
        case DialogMessage::None:
            break;
    }
    return TESSEL_DIALOG_REFUSED;
}

int controlKind(resources::DialogControlKind kind) {
    switch (kind) {
        case resources::DialogControlKind::SortedDropDownList:
            return TESSEL_CONTROL_SORTED_DROP_DOWN_LIST;
        case resources::DialogControlKind::AutoCheckBox:
            return TESSEL_CONTROL_AUTO_CHECK_BOX;
        case resources::DialogControlKind::EditField:
            return TESSEL_CONTROL_EDIT;
        case resources::DialogControlKind::DefaultPushButton:
            return TESSEL_CONTROL_DEFAULT_PUSH_BUTTON;
        case resources::DialogControlKind::PushButton:
            break;
    }
    return TESSEL_CONTROL_PUSH_BUTTON;
}

// The model behind the C view the presenter sees. The callbacks never let an
// exception out into the host's code.
class PresentedDialog {
  public:
    explicit PresentedDialog(LanguageDialogModel& model) : model_(model) {
        for (const LanguageEntry& entry : model.entries()) {
            names_.push_back(entry.name.c_str());
            codePages_.push_back(entry.codePage);
        }
        const auto& controls = resources::kLanguageDialogControls;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const resources::DialogControl& c = controls[i];
            controls_[i] = {c.id, controlKind(c.kind), c.text.data(), c.x, c.y, c.width, c.height};
        }
        view_.size = sizeof(tessel_language_dialog);
        view_.caption = resources::kLanguageDialogCaption.data();
        view_.font_name = resources::kLanguageDialogFont.data();
        view_.font_points = resources::kLanguageDialogFontPoints;
        view_.width = resources::kLanguageDialogWidth;
        view_.height = resources::kLanguageDialogHeight;
        view_.control_count = static_cast<int>(controls_.size());
        view_.controls = controls_.data();
        view_.select_language_message = resources::kSelectLanguageMessage.data();
        view_.specify_charset_message = resources::kSpecifyCharsetMessage.data();
        view_.item_count = static_cast<int>(names_.size());
        view_.item_names = names_.data();
        view_.item_code_pages = codePages_.data();
        view_.select = &select;
        view_.click_custom_charset = &clickCustomCharset;
        view_.edit_charset_text = &editCharsetText;
        view_.ok = &ok;
        view_.cancel = &cancel;
        view_.library_data = this;
        refresh();
    }
    PresentedDialog(const PresentedDialog&) = delete;
    PresentedDialog& operator=(const PresentedDialog&) = delete;

    tessel_language_dialog& view() { return view_; }

  private:
    static PresentedDialog* of(tessel_language_dialog* view) {
        return view == nullptr ? nullptr : static_cast<PresentedDialog*>(view->library_data);
    }

    template <typename Action>
    static int guarded(tessel_language_dialog* view, Action action) noexcept {
        PresentedDialog* self = of(view);
        if (self == nullptr) return TESSEL_DIALOG_REFUSED;
        try {
            int result = action(self->model_);
            self->refresh();
            return result;
        } catch (...) {
            return TESSEL_DIALOG_REFUSED;
        }
    }

    static int select(tessel_language_dialog* view, int index) {
        return guarded(view, [index](LanguageDialogModel& model) {
            std::optional<std::size_t> entry;
            if (index >= 0) entry = static_cast<std::size_t>(index);
            return resultOf(model.selectEntry(entry));
        });
    }
    static int clickCustomCharset(tessel_language_dialog* view, int checked) {
        return guarded(view, [checked](LanguageDialogModel& model) {
            return resultOf(model.clickCustomCharset(checked != 0));
        });
    }
    static void editCharsetText(tessel_language_dialog* view, const char* text) {
        guarded(view, [text](LanguageDialogModel& model) {
            model.editCharsetText(text == nullptr ? "" : text);
            return TESSEL_DIALOG_ACCEPTED;
        });
    }
    static int ok(tessel_language_dialog* view) {
        return guarded(view, [](LanguageDialogModel& model) { return resultOf(model.ok()); });
    }
    static void cancel(tessel_language_dialog* view) {
        guarded(view, [](LanguageDialogModel& model) {
            model.cancel();
            return TESSEL_DIALOG_ACCEPTED;
        });
    }

    void refresh() {
        view_.selection = model_.selection() ? static_cast<int>(*model_.selection()) : -1;
        view_.custom_charset_checked = model_.customCharsetChecked() ? 1 : 0;
        view_.charset_text_enabled = model_.charsetTextEnabled() ? 1 : 0;
        text_ = model_.charsetText();
        view_.charset_text = text_.c_str();
    }

    LanguageDialogModel& model_;
    std::vector<const char*> names_;
    std::vector<unsigned> codePages_;
    std::array<tessel_dialog_control, resources::kLanguageDialogControls.size()> controls_{};
    std::string text_;
    tessel_language_dialog view_{};
};

}  // namespace

bool presentLanguageDialog(LanguageDialogModel& model,
                           tessel_language_dialog_presenter& presenter) {
    PresentedDialog dialog(model);
    if (presenter(&dialog.view()) == TESSEL_PRESENTER_UNAVAILABLE &&
        model.state() == LanguageDialogModel::State::Open) {
        return false;
    }
    model.cancel();  // returned without OK: cancelled (a closed dialog stays as it ended)
    return true;
}

std::optional<LanguageChoice> runLanguageDialog(std::optional<unsigned> presetCodePage) {
    LanguageDialogModel model(presetCodePage);
    auto* presenter =
        platform::hostFunction<tessel_language_dialog_presenter>(TESSEL_LANGUAGE_DIALOG_PRESENTER);
    bool presented = presenter != nullptr && presentLanguageDialog(model, *presenter);
    if (!presented) {
        if (platform::promptTerminalAvailable()) {
            promptForLanguage(model, stdin, stderr);
        } else {
            model.cancel();
        }
    }
    if (model.state() != LanguageDialogModel::State::Accepted) return std::nullopt;
    return LanguageChoice{model.codePage(), model.charsetText()};
}

}  // namespace tessel::markup
