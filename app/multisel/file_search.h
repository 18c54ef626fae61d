// The files of a folder (and, when asked, of its sub-folders) whose names
// match one of the wildcards, ignoring case as the hosts' users expect.
#pragma once

#include <QString>
#include <QStringList>

namespace tessel::multisel {

struct SearchResult {
    QStringList files;       // full paths, sorted ignoring case
    bool truncated = false;  // more files matched than a list can sensibly show
};

constexpr qsizetype kMaximumListedFiles = 20000;

SearchResult findFiles(const QString& folder, const QStringList& wildcards, bool subFolders,
                       qsizetype limit = kMaximumListedFiles);

}  // namespace tessel::multisel
