#include "file_search.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <algorithm>

namespace tessel::multisel {

SearchResult findFiles(const QString& folder, const QStringList& wildcards, bool subFolders,
                       qsizetype limit) {
    SearchResult result;
    if (folder.isEmpty() || wildcards.isEmpty() || !QDir(folder).exists()) return result;
    // Without QDir::CaseSensitive the name filters ignore case. Links to
    // folders are not followed, so a link loop cannot make the search endless.
    QDirIterator entries(folder, wildcards, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                         subFolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (entries.hasNext()) {
        if (result.files.size() >= limit) {
            result.truncated = true;
            break;
        }
        result.files << QDir::cleanPath(entries.next());
    }
    QCollator order;
    order.setCaseSensitivity(Qt::CaseInsensitive);
    order.setNumericMode(true);
    std::sort(result.files.begin(), result.files.end(),
              [&order](const QString& a, const QString& b) { return order.compare(a, b) < 0; });
    return result;
}

}  // namespace tessel::multisel
