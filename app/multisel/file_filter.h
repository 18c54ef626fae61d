// File-type lists as the hosts pass them, "Description|patterns|..." (an
// optional trailing "||" ends the list), and the wildcard patterns of one
// entry.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace tessel::multisel {

struct FilterEntry {
    QString description;
    QString patterns;  // as written, such as "*.htm*" or "*.txt;*.asc"
};

QVector<FilterEntry> parseFilter(const QString& filter);

// The wildcards of a file pattern, split on ";", "," and blanks, with "*.*"
// meaning every file as it does for the hosts' users.
QStringList wildcardsOf(const QString& filePattern);

}  // namespace tessel::multisel
