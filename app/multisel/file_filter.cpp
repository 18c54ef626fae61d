#include "file_filter.h"

#include <QRegularExpression>

namespace tessel::multisel {

QVector<FilterEntry> parseFilter(const QString& filter) {
    QStringList parts = filter.split(u'|');
    // "A|*.a||" splits into "A", "*.a", "", "": the empty tail ends the list.
    while (!parts.isEmpty() && parts.last().isEmpty()) parts.removeLast();
    QVector<FilterEntry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i + 1].trimmed().isEmpty()) continue;
        entries.push_back(FilterEntry{parts[i].trimmed(), parts[i + 1].trimmed()});
    }
    // A description without patterns is taken as a pattern of its own.
    if (parts.size() % 2 == 1 && !parts.last().trimmed().isEmpty()) {
        entries.push_back(FilterEntry{parts.last().trimmed(), parts.last().trimmed()});
    }
    return entries;
}

QStringList wildcardsOf(const QString& filePattern) {
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    QStringList wildcards;
    for (const QString& pattern : filePattern.split(separators, Qt::SkipEmptyParts)) {
        wildcards << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    }
    return wildcards;
}

}  // namespace tessel::multisel
