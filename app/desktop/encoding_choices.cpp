#include "encoding_choices.h"

#include "desktop_options.h"
#include "desktop_texts.h"
#include "tessel_cat.h"

namespace tessel::desktop {

namespace {

void addEntries(QList<EncodingEntry>& entries, const text::EncodingEntryText* texts, int count) {
    for (int i = 0; i < count; ++i) {
        entries << EncodingEntry{QString::fromUtf8(texts[i].entry),
                                 QString::fromUtf8(texts[i].name), texts[i].codePage,
                                 texts[i].startsGroup};
    }
}

}  // namespace

QList<EncodingEntry> sourceEncodingEntries() {
    QList<EncodingEntry> entries{
        {QString::fromUtf8(text::kSourceEncodingDefaultEntry), QString(), 0, false}};
    addEntries(entries, text::kUnicodeSourceEncodings, text::kUnicodeSourceEncodingCount);
    addEntries(entries, text::kWindowsCodePages, text::kWindowsCodePageCount);
    addEntries(entries, text::kOtherSourceEncodings, text::kOtherSourceEncodingCount);
    return entries;
}

QList<EncodingEntry> targetCodePageEntries() {
    QList<EncodingEntry> entries{
        {QString::fromUtf8(text::kTargetCodePageDefaultEntry), QString(), 0, false}};
    addEntries(entries, text::kWindowsCodePages, text::kWindowsCodePageCount);
    addEntries(entries, &text::kUtf8TargetCodePage, 1);
    return entries;
}

bool isOfferedTargetCodePage(unsigned codePage) {
    for (const EncodingEntry& entry : targetCodePageEntries()) {
        if (entry.codePage == codePage) return true;
    }
    return false;
}

bool applyEncodingChoices(const DesktopOptions& options) {
    f_iSetTargetCodePage(options.targetCodePage);
    QByteArray name = options.sourceEncoding.toUtf8();
    if (f_iSetSourceEncoding(name.constData()) == 0) return true;
    // A refused name keeps the library's previous choice: give back the
    // default instead.
    f_iSetSourceEncoding(nullptr);
    return false;
}

QString sourceEncodingIndicator(const QString& name) {
    if (name.isEmpty()) return {};
    QString shortName = name.toUpper();
    if (shortName.startsWith(QStringLiteral("WINDOWS-"))) shortName.remove(0, 8);
    return text::with(text::kSourceEncodingIndicator, shortName);
}

QString targetCodePageIndicator(unsigned codePage) {
    if (codePage == 0) return {};
    return text::with(text::kTargetCodePageIndicator, QString::number(codePage));
}

}  // namespace tessel::desktop
