/*
 * tessel_language_dialog.h - how a host program presents the library's
 * language dialog.
 *
 * gf_uiGetCodepageFromLanguageDialog and gf_pszGetCodepageFromLanguageDialog
 * (tessel_cat.h) run a modal "Select Language" dialog whose logic lives in
 * the library. The library has no window toolkit: a host program that wants
 * a real dialog defines one function, exported from its executable (CMake:
 * ENABLE_EXPORTS, or -rdynamic), under the name
 *
 *     int tessel_present_language_dialog(tessel_language_dialog* dialog);
 *
 * The library looks it up by that name when the dialog is called for. It is
 * not an export of the library and not part of its 26 functions.
 *
 * The presenter's duty, all on the calling thread, before it returns:
 *   1. If it cannot show a dialog now (no display), return
 *      TESSEL_PRESENTER_UNAVAILABLE at once, touching nothing: the library
 *      then prompts on the terminal, or behaves as cancelled.
 *   2. Otherwise build a modal window from the template fields (caption,
 *      font, size and the five controls in dialog units), fill the list with
 *      item_names in the given order (already sorted; item_code_pages[i] is
 *      the item data of entry i), select `selection` (-1: none), set the
 *      check box from custom_charset_checked, show charset_text in the edit
 *      field and enable it per charset_text_enabled.
 *   3. Pass every user action to its callback, always with `dialog`:
 *        select(dialog, index)              the list selection changed (-1: none)
 *        click_custom_charset(dialog, on)   the check box was clicked; `on` is
 *                                           its new state
 *        edit_charset_text(dialog, text)    the edit field's text changed
 *        ok(dialog)                         the OK button (or Enter)
 *        cancel(dialog)                     Cancel, Escape or closing the window
 *      After every callback read selection, custom_charset_checked,
 *      charset_text_enabled and charset_text again and show them (the text
 *      pointer stays valid until the next callback). select,
 *      click_custom_charset and ok return one of:
 *        TESSEL_DIALOG_ACCEPTED         nothing to show
 *        TESSEL_DIALOG_SELECT_LANGUAGE  show select_language_message in a
 *                                       message box with an information icon
 *        TESSEL_DIALOG_SPECIFY_CHARSET  show specify_charset_message in a
 *                                       message box
 *        TESSEL_DIALOG_REFUSED          nothing to show
 *      The dialog stays open after each of them, except:
 *   4. Close the window when ok() returned TESSEL_DIALOG_ACCEPTED, or after
 *      calling cancel(), and return TESSEL_PRESENTER_DONE. The library reads
 *      the outcome from its own state; a presenter that returns without
 *      either counts as cancelled.
 * The presenter must not keep `dialog` or any pointer from it after it
 * returns. It may call other functions of the library from its callbacks'
 * thread.
 */
#ifndef TESSEL_LANGUAGE_DIALOG_H
#define TESSEL_LANGUAGE_DIALOG_H

#ifdef __cplusplus
extern "C" {
#endif

#define TESSEL_LANGUAGE_DIALOG_PRESENTER "tessel_present_language_dialog"

/* Results of tessel_present_language_dialog. */
#define TESSEL_PRESENTER_DONE 0
#define TESSEL_PRESENTER_UNAVAILABLE (-1)

/* Results of select, click_custom_charset and ok. */
#define TESSEL_DIALOG_ACCEPTED 0
#define TESSEL_DIALOG_SELECT_LANGUAGE 1
#define TESSEL_DIALOG_SPECIFY_CHARSET 2
#define TESSEL_DIALOG_REFUSED 3

/* Kinds of the template's controls. */
#define TESSEL_CONTROL_SORTED_DROP_DOWN_LIST 0 /* with a vertical scroll bar */
#define TESSEL_CONTROL_AUTO_CHECK_BOX 1
#define TESSEL_CONTROL_EDIT 2 /* with a border, scrolling horizontally */
#define TESSEL_CONTROL_DEFAULT_PUSH_BUTTON 3
#define TESSEL_CONTROL_PUSH_BUTTON 4

/* Control ids: list 1000, check box 1004, charset text 1003, OK 1, Cancel 2. */
typedef struct tessel_dialog_control {
    int id;
    int kind;
    const char* text;        /* "" for the list and the edit field */
    int x, y, width, height; /* dialog units */
} tessel_dialog_control;

typedef struct tessel_language_dialog {
    /* sizeof(tessel_language_dialog) as the library was built; fields are
       only ever added at the end. */
    unsigned size;

    /* Template (dialog 129): "Select Language", "MS Sans Serif" 8 point,
       186 by 63 dialog units. */
    const char* caption;
    const char* font_name;
    int font_points;
    int width, height;
    int control_count;
    const tessel_dialog_control* controls;
    const char* select_language_message; /* "You must select a language!" */
    const char* specify_charset_message; /* "You must specify a Code Page string!" */

    /* The list in display order, with code pages as item data. */
    int item_count;
    const char* const* item_names;
    const unsigned* item_code_pages;

    /* State, updated by the library after every callback. */
    int selection; /* -1: none */
    int custom_charset_checked;
    int charset_text_enabled;
    const char* charset_text;

    /* Callbacks into the library's dialog. */
    int (*select)(struct tessel_language_dialog* dialog, int index);
    int (*click_custom_charset)(struct tessel_language_dialog* dialog, int checked);
    void (*edit_charset_text)(struct tessel_language_dialog* dialog, const char* text);
    int (*ok)(struct tessel_language_dialog* dialog);
    void (*cancel)(struct tessel_language_dialog* dialog);

    /* The library's own; the presenter leaves it alone. */
    void* library_data;
} tessel_language_dialog;

typedef int tessel_language_dialog_presenter(tessel_language_dialog* dialog);

#ifdef __cplusplus
}
#endif

#endif /* TESSEL_LANGUAGE_DIALOG_H */
