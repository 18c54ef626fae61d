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
 */
#ifndef TESSEL_CAT_H
#define TESSEL_CAT_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(TESSEL_CAT_BUILDING)
#define TESSEL_API __attribute__((visibility("default")))
#else
#define TESSEL_API
#endif

/* "Version 1.09" */
TESSEL_API const char* f_pszDLLVersion(void);
/* "TESSEL_CAT.DLL" */
TESSEL_API const char* f_pszDLLName(void);
/* A two-line copyright notice. */
TESSEL_API const char* f_pszDLLCopyrightMessage(void);

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
TESSEL_API int funciTextReadWriteParser(char* path, int function, unsigned char deleteBackup,
                                        const char* extension);

/*
 * PageMaker tagged text to RTF: header, tags, escaped characters and the
 * non-text parts of index entries become protected runs. Writes the input's
 * base name with ".RTF" and, when something went wrong, a ".err" log.
 * Returns the number of protected runs, -113 (errors in the log, RTF
 * written), -115 (the RTF exists), -1 (parse cut short or tables missing),
 * -2 (RTF not written) or a code of the line-break pass.
 */
TESSEL_API int f_iPageMaker2RTF(const char* path);

/*
 * HTML to RTF: tags become protected character-style runs (external,
 * internal, do not translate) and the text between them stays translatable.
 *   path     the HTML file; the RTF is written next to it with extension
 *            "rtf", the error log with extension "ERR".
 *   tagFile  the user's HTML tag definition file, or null/empty for none.
 * Returns the number of tags and entities marked up, -113 when messages were
 * logged, -1401 when the RTF file exists already, or another failure code.
 */
TESSEL_API int f_iHTML2RTF(const char* path, const char* tagFile);

/*
 * RTF back to tagged text. The input is an RTF file a mark-up job wrote (now
 * translated); the output is the input's name with `extension` (".txt" and
 * "txt" give the same name), the log the input's name with "ERR". Returns the
 * change count, -113 when the log holds messages, -904 when the output would
 * be the input, -115 when the output exists, -401 to -407 for RTF that cannot
 * be read (the partial output and the log are kept).
 *   function    504 text (Ventura 5 and later), 508 HTML, 510 PageMaker,
 *               511 QuarkXPress, 512 SGML, 513 Ventura 4, 514 compatible
 *               HTML; any other code returns -1000 without touching a file.
 */
TESSEL_API int funciReadRTFWriteTextParser(const char* input, int function, const char* extension);
/* 504: plain text (Ventura 5 and later); empty paragraphs are left out. */
TESSEL_API int f_iRTF2Text(const char* input, const char* extension);
/* 508: HTML; characters from 0x80 up become named entities. */
TESSEL_API int f_iRTF2HTML(const char* input, const char* extension);
/* 514: compatible HTML; code-page-1252 punctuation becomes plain characters
 * or basic entities, empty paragraphs are left out. */
TESSEL_API int f_iRTF2CompatibleHTML(const char* input, const char* extension);
/* 512: SGML; characters from 0x80 up become named entities. */
TESSEL_API int f_iRTF2SGML(const char* input, const char* extension);
/* 510: PageMaker tagged text; a "<PMTags... mac>" header converts the result
 * to Macintosh characters and line ends. */
TESSEL_API int f_iRTF2PageMaker(const char* input, const char* extension);
/* 511: QuarkXPress tags; a "<v...><e0>" header converts the result to
 * Macintosh characters and line ends. */
TESSEL_API int f_iRTF2XPress(const char* input, const char* extension);
/* 513: Ventura 4 tagged text. */
TESSEL_API int f_iVentura4RTF2Text(const char* input, const char* extension);

/*
 * The language dialog: the user chooses a language from a sorted list and so
 * a code page, and the charset name multilingual HTML declares (the table
 * name of the code page, or one typed with "Custom Character Set:" checked).
 * Modal, on the caller's thread. Presented by the host program when its
 * executable exports
 *     int tessel_present_language_dialog(tessel_language_dialog* dialog);
 * (the hook's contract and the struct are in tessel_language_dialog.h; the
 * hook is the host's function, not an export of this library); otherwise
 * as a numbered prompt on standard error when standard input and standard
 * error are terminals; otherwise it behaves as cancelled.
 */
/* No language preselected; the chosen code page, or 0 when cancelled. */
TESSEL_API unsigned gf_uiGetCodepageFromLanguageDialog(void);
/* *codePage preselects the language with that code page (of several, the
 * last in the library's table order). On OK *codePage is the chosen code
 * page and the result the charset name, a library-owned string valid until
 * the next call; on Cancel *codePage is 0 and the result null (also for a
 * null codePage). */
TESSEL_API const char* gf_pszGetCodepageFromLanguageDialog(unsigned* codePage);

#ifdef __cplusplus
}
#endif

#endif /* TESSEL_CAT_H */
