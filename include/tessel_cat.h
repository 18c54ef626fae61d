/*
 * tessel_cat.h - the flat interface of the TESSEL_CAT conversion library.
 *
 * Every job is one call: it takes zero-terminated 8-bit paths (at most 259
 * characters), does the whole conversion, writes an error log next to the
 * input when something went wrong, and returns one signed integer:
 *   >= 0   success; the number of changes made (meaning depends on the job)
 *   < 0    failure, or -113 when messages were written to the error log.
 * The library never overwrites an existing output file (-115, or -1401 for
 * HTML to RTF); deleting the old output is the caller's decision.
 * Strings returned by the library are constants owned by the library.
 * Jobs run one at a time per process.
 *
 * Message boxes: a job that must tell the user something beyond its return
 * code (a converter whose parser cannot be set up) shows a message box. The
 * host program presents it by defining in its executable, exported
 * dynamically, the C function
 *     void tessel_host_message_box(const char* text);
 * which the library looks up at run time (it is not an export of the
 * library). It is called on the job's thread with a zero-terminated text
 * owned by the library for the call. Without it the text goes to standard
 * error.
 */
#ifndef TESSEL_CAT_H
#define TESSEL_CAT_H

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Calling convention: on Windows every export is __stdcall (TESSEL_CALL),
 * as callers of a flat Windows DLL expect (Visual Basic's Declare, Delphi's
 * stdcall, LoadLibrary and GetProcAddress with WINAPI function pointers),
 * and is exported under its plain name, without a leading underscore or
 * "@N" suffix. 64-bit Windows and other systems have one convention only,
 * where TESSEL_CALL means nothing.
 */
#if defined(_WIN32)
#define TESSEL_CALL __stdcall
#if defined(TESSEL_CAT_BUILDING)
#define TESSEL_API __declspec(dllexport)
#else
#define TESSEL_API __declspec(dllimport)
#endif
#else
#define TESSEL_CALL
#if defined(TESSEL_CAT_BUILDING)
#define TESSEL_API __attribute__((visibility("default")))
#else
#define TESSEL_API
#endif
#endif

/* "Version 1.09" */
TESSEL_API const char* TESSEL_CALL f_pszDLLVersion(void);
/* "TESSEL_CAT.DLL" */
TESSEL_API const char* TESSEL_CALL f_pszDLLName(void);
/* A two-line copyright notice. */
TESSEL_API const char* TESSEL_CALL f_pszDLLCopyrightMessage(void);

/*
 * The line-by-line engine.
 *   path        caller's buffer of at least 260 bytes; in output-extension
 *               mode it holds the output file's name on return.
 *   function    610 Macintosh to ANSI, 611 ANSI to Macintosh,
 *               613 line breaks to CR LF (each line counts one change),
 *               901 extended characters to HTML entities,
 *               903 text to compatible HTML entities; 606 and any other
 *               code return -1000 without touching a file.
 *   deleteBackup  in-place mode: delete the backup (".OLD", ".001"...) on
 *               success unless messages were logged.
 *   extension   output extension ("tmp", ".txt"); null or empty converts
 *               the file in place behind a backup.
 */
TESSEL_API int TESSEL_CALL funciTextReadWriteParser(char* path, int function,
                                                    unsigned char deleteBackup,
                                                    const char* extension);

/*
 * PageMaker tagged text to RTF: header, tags, escaped characters and the
 * non-text parts of index entries become protected runs. Writes the input's
 * base name with ".RTF" and, when something went wrong, a ".err" log.
 * Returns the number of protected runs, -113 (errors in the log, RTF
 * written), -115 (the RTF exists), -1 (parse cut short or tables missing),
 * -2 (RTF not written) or a code of the line-break pass.
 */
TESSEL_API int TESSEL_CALL f_iPageMaker2RTF(const char* path);

/*
 * QuarkXPress tagged text to RTF: the header (version and encoding tags),
 * style-sheet tags and paragraph tags become external runs, character tags
 * and literal character tags internal runs; a "<$>" that follows exactly 254
 * characters of text on its line is dropped. "<e0>" marks a Macintosh file,
 * whose text is converted to Windows 1252. The file is parsed through a
 * working copy with CR LF line ends (base name with ".tmp", removed again; a
 * file that already has that name is refused with -115 and left alone).
 * Writes the input's base name with ".RTF" and, when something went wrong, a
 * ".err" log. Returns the number of pieces recorded (protected runs and
 * dropped "<$>" tags), -113 (errors in the log, RTF written), -115 (the RTF
 * or the working copy's name exists), -1 (parse cut short, or the parser
 * could not be set up: then a message box says why), -2 (RTF not written),
 * -904 (the log would be the input) or a code of the line-break pass.
 */
TESSEL_API int TESSEL_CALL f_iXPress2RTF(const char* path);

/*
 * Ventura tagged text to RTF, versions 5 to 7 and version 4: paragraph tags,
 * table begin and end, row tags, table keywords and single commas between
 * cells become external runs; codes ("<...>" with any nested codes, the
 * opener and ">" of a code with an argument such as a footnote or index
 * entry, "<<", ">>", character codes) and runs of two or more commas
 * internal runs; text, code arguments and cell text stay translatable. The
 * version 4 converter joins single line breaks between running words into a
 * blank; versions 5 to 7 keep every line break as a paragraph break. The
 * input is parsed as it is and never changed. Writes the input's base name
 * with ".RTF" and, when something went wrong, a ".err" log. Returns the
 * number of protected runs, -113 (errors in the log, RTF written), -115 (the
 * RTF exists), -1 (parse cut short, or the parser could not be set up, as for
 * a missing or empty file: then a message box says why), -2 (RTF not
 * written) or -904 (the log would be the input).
 */
TESSEL_API int TESSEL_CALL f_iVentura567toRTF(const char* path);
TESSEL_API int TESSEL_CALL f_iVentura4toRTF(const char* path);

/*
 * HTML to RTF: tags become protected character-style runs (external,
 * internal, do not translate) and the text between them stays translatable.
 *   path     the HTML file; the RTF is written next to it with extension
 *            "rtf", the error log with extension "ERR".
 *   tagFile  the user's HTML tag definition file, or null/empty for none.
 * Returns the number of tags and entities marked up, -113 when messages were
 * logged, -1401 when the RTF file exists already, or another failure code.
 */
TESSEL_API int TESSEL_CALL f_iHTML2RTF(const char* path, const char* tagFile);

/*
 * The SGML job. SGML has no fixed tag vocabulary: the user collects the
 * distinct tags of a file set into an SGML external tag file (801), edits it
 * down to the tags that are external (those between translatable units), and
 * marks up with it (803).
 *   path      the SGML file; the error log is written next to it with
 *             extension "ERR" and kept only when it holds messages.
 *   function  801 add the file's distinct tags to the tag file (the result is
 *               the number of tags that were new; the tag file is rewritten
 *               in ascending byte order, one tag per line, only when a tag
 *               was new, and is replaced in one step, so that a failure
 *               leaves it as it was);
 *             802 write the tags of each line, one per line, to ".xsg";
 *             803 SGML to ".rtf": tags listed in the tag file become external
 *               runs, all other tags internal runs, comments external runs;
 *             901 characters to HTML entities, written to ".htm";
 *             903 and any other code: the line job of that code, written to
 *               ".out" (-1000 for codes without one).
 *   tagFile   the SGML external tag file: any text file, whose tags are
 *             read; a missing file starts an empty list. Required (-1302
 *             without) except for 802 and 901.
 * Returns the count, -113 when messages were logged, -1301 when the tag file
 * exists but holds no tags, -904 when two of the job's files (input, output,
 * log, tag file) would be one, -1401 (803, 901) or -115 (the others) when
 * the output exists, or another failure code.
 */
TESSEL_API int TESSEL_CALL funciSGMLTextReadWrite(const char* path, int function,
                                                  const char* tagFile);
/* 803: SGML to RTF with the external tags of `tagFile`. */
TESSEL_API int TESSEL_CALL f_iSGML2RTF(const char* path, const char* tagFile);
/* 801: adds the distinct tags of `path` to `tagFile`; returns how many were
 * new. */
TESSEL_API int TESSEL_CALL f_iAddUniqueSGMLTagsToFile(const char* path, const char* tagFile);

/*
 * RTF back to tagged text. The input is an RTF file a mark-up job wrote (now
 * translated); the output is the input's name with `extension` (".txt" and
 * "txt" give the same name), the log the input's name with "ERR". Returns the
 * change count, -113 when the log holds messages, -904 when the output would
 * be the input, -115 when the output exists, -401 to -407 for RTF that cannot
 * be read (the partial output and the log are kept).
 *   function    504 text (Ventura 5 and later), 508 HTML, 510 PageMaker,
 *               511 QuarkXPress, 512 SGML, 513 Ventura 4, 514 compatible
 *               HTML, 515 multilingual HTML in code page 1252 (see below);
 *               any other code returns -1000 without touching a file.
 */
TESSEL_API int TESSEL_CALL funciReadRTFWriteTextParser(const char* input, int function,
                                                       const char* extension);
/* 504: plain text (Ventura 5 and later); empty paragraphs are left out. */
TESSEL_API int TESSEL_CALL f_iRTF2Text(const char* input, const char* extension);
/* 508: HTML; characters from 0x80 up become named entities. */
TESSEL_API int TESSEL_CALL f_iRTF2HTML(const char* input, const char* extension);
/* 514: compatible HTML; code-page-1252 punctuation becomes plain characters
 * or basic entities, empty paragraphs are left out. */
TESSEL_API int TESSEL_CALL f_iRTF2CompatibleHTML(const char* input, const char* extension);
/* 512: SGML; characters from 0x80 up become named entities. */
TESSEL_API int TESSEL_CALL f_iRTF2SGML(const char* input, const char* extension);
/* 510: PageMaker tagged text; a "<PMTags... mac>" header converts the result
 * to Macintosh characters and line ends. */
TESSEL_API int TESSEL_CALL f_iRTF2PageMaker(const char* input, const char* extension);
/* 511: QuarkXPress tags; a "<v...><e0>" header converts the result to
 * Macintosh characters and line ends. */
TESSEL_API int TESSEL_CALL f_iRTF2XPress(const char* input, const char* extension);
/* 513: Ventura 4 tagged text. */
TESSEL_API int TESSEL_CALL f_iVentura4RTF2Text(const char* input, const char* extension);

/*
 * 515: multilingual HTML. The text keeps the bytes of `codePage` (a Windows
 * code page such as 1251 or 932; characters it cannot hold become numeric
 * character references), and the written page's META charset declarations
 * are set to `charset`, or to the code page's charset name when `charset` is
 * null or empty (a META line is inserted when the page has none). A code page
 * without a charset name and no `charset` ends with -113 and the log line
 * "BUG! Invalid code page value: N". Returns as funciReadRTFWriteTextParser.
 */
TESSEL_API int TESSEL_CALL f_iRTF2HTMLMultiLingual(const char* input, const char* extension,
                                                   unsigned codePage);
TESSEL_API int TESSEL_CALL f_iRTF2HTMLMultiLingualWithCharSet(const char* input,
                                                              const char* extension,
                                                              unsigned codePage,
                                                              const char* charset);
/* funciReadRTFWriteTextParser with a code page (and charset name) for 515;
 * other function codes run as without them. */
TESSEL_API int TESSEL_CALL funciReadRTFWriteTextParserMultiLingual(const char* input, int function,
                                                                   const char* extension,
                                                                   unsigned codePage);
TESSEL_API int TESSEL_CALL funciReadRTFWriteTextParserMultiLingualWithCharSet(
    const char* input, int function, const char* extension, unsigned codePage, const char* charset);

/*
 * The language dialog: the user chooses a language from a sorted list and so
 * a code page, and the charset name multilingual HTML declares (the table
 * name of the code page, or one typed with "Custom Character Set:" checked).
 * Modal, on the caller's thread. Without a presenter of the host (below) it
 * is a numbered prompt on standard error when standard input and standard
 * error are terminals; otherwise it behaves as cancelled.
 *
 * How a host program presents it: the dialog's logic lives in the library,
 * which has no window toolkit. A host program that wants
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

/*
 * Encoding choices for the jobs that follow in this process, each used only
 * where the file itself declares nothing (no byte-order mark, no charset or
 * encoding declaration of its format). Both return 0.
 *   f_iSetSourceEncoding   the encoding mark-up jobs read an undeclared source
 *                          in ("utf-8", "windows-1250", ...); null or "" gives
 *                          back the format's default. A name the library does
 *                          not read returns -1010 and keeps the choice as it
 *                          was. Names: utf-8, utf-16le, utf-16be,
 *                          windows-874 and windows-1250 to -1258 (also
 *                          cpNNNN), iso-8859-1, us-ascii, shift_jis, gb2312,
 *                          gbk, euc-kr, big5, tis-620.
 *   f_iSetTargetCodePage   the code page back-conversions write when the
 *                          document declares none (1250 to 1258, 874, ...);
 *                          0 gives back the format's default.
 */
TESSEL_API int TESSEL_CALL f_iSetSourceEncoding(const char* encoding);
TESSEL_API int TESSEL_CALL f_iSetTargetCodePage(unsigned codePage);

/*
 * How the last HTML or SGML mark-up job of this process read its source,
 * when not as Windows 1252 as before: "Read as UTF-8 (declared in the
 * file)", "Read as UTF-16LE (byte-order mark)", ... Copies the text, cut to
 * size - 1 bytes, and its terminating NUL into buffer (when size > 0) and
 * returns its full length; 0 and "" for a source read as Windows 1252.
 * After an HTML or SGML back-conversion: the line saying that the document's
 * own declaration was written instead of the code page chosen with
 * f_iSetTargetCodePage ("Written as UTF-8 (declared in the document; the
 * code page chosen, 1250, is not used)"); "" when there was none.
 */
TESSEL_API int TESSEL_CALL f_iGetSourceEncodingReport(char* buffer, unsigned size);

/* No language preselected; the chosen code page, or 0 when cancelled. */
TESSEL_API unsigned TESSEL_CALL gf_uiGetCodepageFromLanguageDialog(void);
/* *codePage preselects the language with that code page (of several, the
 * last in the library's table order). On OK *codePage is the chosen code
 * page and the result the charset name, a library-owned string valid until
 * the next call; on Cancel *codePage is 0 and the result null (also for a
 * null codePage). */
TESSEL_API const char* TESSEL_CALL gf_pszGetCodepageFromLanguageDialog(unsigned* codePage);

#ifdef __cplusplus
}
#endif

#endif /* TESSEL_CAT_H */
