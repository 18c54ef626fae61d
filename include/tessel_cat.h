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
 * HTML to RTF: tags become protected character-style runs (external,
 * internal, do not translate) and the text between them stays translatable.
 *   path     the HTML file; the RTF is written next to it with extension
 *            "rtf", the error log with extension "ERR".
 *   tagFile  the user's HTML tag definition file, or null/empty for none.
 * Returns the number of tags and entities marked up, -113 when messages were
 * logged, -1401 when the RTF file exists already, or another failure code.
 */
TESSEL_API int f_iHTML2RTF(const char* path, const char* tagFile);

#ifdef __cplusplus
}
#endif

#endif /* TESSEL_CAT_H */
