// The encoding choices of the Options menu: the encoding mark-ups read a
// source in that declares none, and the code page back-conversions write a
// document in that declares none. Both go to the library before each run;
// empty and 0 leave the format's default.
#pragma once

#include <QList>
#include <QString>

namespace tessel::desktop {

struct DesktopOptions;

// An entry of one of the two sub-menus, in menu order; the first is the
// default (name empty, code page 0).
struct EncodingEntry {
    QString entry;      // the menu text, with its "&"
    QString name;       // the library's name of a source encoding
    unsigned codePage;  // a target code page
    bool startsGroup;   // a separator goes before it
};

QList<EncodingEntry> sourceEncodingEntries();
QList<EncodingEntry> targetCodePageEntries();

// Whether the target sub-menu offers `codePage` (0 included).
bool isOfferedTargetCodePage(unsigned codePage);

// Gives the library the two choices for the jobs that follow. False when it
// refuses the source encoding's name: the format's default is then used.
bool applyEncodingChoices(const DesktopOptions& options);

// The status-bar indicators: empty for the defaults.
QString sourceEncodingIndicator(const QString& name);
QString targetCodePageIndicator(unsigned codePage);

}  // namespace tessel::desktop
