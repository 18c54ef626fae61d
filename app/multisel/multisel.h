// The batch file-selection library: one dialog per process in which the user
// picks a folder, a file pattern and whether sub-folders count, and
// then the matching files to convert. Hosts load it by name at run time and
// look the functions up by their plain C names; strings are zero-terminated
// 8-bit (UTF-8) text, and the returned ones belong to the library and stay
// valid until the next call of the same function or Free.
#pragma once

#if defined(__GNUC__)
#define MULTISEL_API __attribute__((visibility("default")))
#else
#define MULTISEL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The build number; hosts use CreateDlg from build 102 on.
#define MULTISEL_BUILD 102

// Creates the dialog without an owner window (replacing an earlier one).
MULTISEL_API void Create(void);
// Creates the dialog owned by the host's main window (a QWidget*).
MULTISEL_API void CreateDlg(void* ownerWindow);
// Destroys the dialog and forgets every value and chosen file.
MULTISEL_API void Free(void);
// Shows the dialog modally; non-zero when the user confirmed a choice.
MULTISEL_API int ShowModal(void);

MULTISEL_API int GetNumberOfFiles(void);
// Non-zero: the dialog chooses a folder only, no files.
MULTISEL_API int GetDirOnly(void);
MULTISEL_API int GetShowSubDirCheckbox(void);
MULTISEL_API int GetFileSpecReadOnly(void);
// 1-based index of the filter entry in use (0: the first).
MULTISEL_API int GetFilterIndex(void);
MULTISEL_API int GetBuild(void);
MULTISEL_API const char* GetDirectory(void);
// The chosen files' full paths: GetFirstFile starts again at the first,
// GetNextFile goes on (from the first when nothing was fetched yet); both
// answer "" after the last.
MULTISEL_API const char* GetFirstFile(void);
MULTISEL_API const char* GetNextFile(void);
MULTISEL_API const char* GetTitle(void);
// The filter as "Description|patterns|Description|patterns".
MULTISEL_API const char* GetFileFilter(void);
// The file pattern the user confirmed (such as "*.rtf").
MULTISEL_API const char* GetUserFilter(void);
MULTISEL_API const char* GetAppTitle(void);

MULTISEL_API void SetTitle(const char* title);
MULTISEL_API void SetFilterIndex(int index);
MULTISEL_API void SetFileFilter(const char* filter);
MULTISEL_API void SetDirectory(const char* directory);
MULTISEL_API void SetAppTitle(const char* appTitle);
MULTISEL_API void SetDirOnly(int dirOnly);
MULTISEL_API void SetShowSubDirCheckbox(int show);
MULTISEL_API void SetFileSpecReadOnly(int readOnly);

// Where the next choice starts and whether the last one took sub-folders:
// the file pattern offered (until the filter is set again) and the
// sub-folders check box.
MULTISEL_API void SetUserFilter(const char* pattern);
MULTISEL_API int GetSubFolders(void);
MULTISEL_API void SetSubFolders(int subFolders);

#ifdef __cplusplus
}
#endif
