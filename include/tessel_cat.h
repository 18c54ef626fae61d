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
TESSEL_API int funciSGMLTextReadWrite(const char* path, int function, const char* tagFile);
/* 803: SGML to RTF with the external tags of `tagFile`. */
TESSEL_API int f_iSGML2RTF(const char* path, const char* tagFile);
/* 801: adds the distinct tags of `path` to `tagFile`; returns how many were
 * new. */
TESSEL_API int f_iAddUniqueSGMLTagsToFile(const char* path, const char* tagFile);

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

#ifdef __cplusplus
}
#endif

#endif /* TESSEL_CAT_H */
