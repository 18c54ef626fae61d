// The options kept between runs in the user's settings (organisation
// "Tessel", group "Settings"; the three menu options stored as 0 or 1, off
// when absent; the encoding choices left out while they are the defaults)
// and the list of recently used files.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace tessel::desktop {

struct DesktopOptions {
    bool useStandardFileDialog = false;
    bool overwriteExistingFiles = false;
    bool askForTagFile = false;
    // After a run its error logs open in windows, as many as the limit; the
    // problems list names them all.
    static constexpr int kDefaultErrorLogWindowLimit = 10;
    bool openErrorLogWindows = true;
    int errorLogWindowLimit = kDefaultErrorLogWindowLimit;
    // A command of another format group empties the log only once files are
    // chosen for it (on unless switched off); off, it empties the log as it
    // starts, even when its file choice is then cancelled.
    bool clearLogOnlyWhenFilesChosen = true;
    // The library's message box about an input that is empty or cannot be
    // read is shown (on), or only its code goes into the report line that
    // names the problem (off, the default).
    bool showLibraryMessagesForUnreadableInputs = false;
    // Back-conversions check the tags of the RTF they read and write each
    // finding into the job's error log (on unless switched off).
    bool checkTagsOnBackConversion = true;
    // The encoding mark-ups read a source in that declares none, by the
    // library's name ("windows-1250"), and the code page back-conversions
    // write a document in that declares none; empty and 0: the format's
    // default. A code page the Options menu does not offer reads as 0.
    QString sourceEncoding;
    unsigned targetCodePage = 0;
    // The folder conversions move their outputs and error logs into, by the
    // tool's -o rules; empty: they stay next to their inputs.
    QString outputFolder;
};

// The settings store of the program.
QSettings* openSettings();

DesktopOptions readOptions(QSettings& settings);
void writeOptions(QSettings& settings, const DesktopOptions& options);

// Most recent first, at most kSize paths, no path twice: documents opened or
// saved, and inputs converted, each with the command that converted it.
class RecentFiles {
  public:
    static constexpr int kSize = 5;
    // A run puts at most this many of its inputs on the list, so that the
    // logs stay on it.
    static constexpr int kInputsPerRun = 3;

    void add(const QString& path);
    void addInput(const QString& path, const QString& commandKey);
    void remove(const QString& path);
    const QStringList& paths() const { return paths_; }
    // The command of an input; empty for a document.
    QString commandOf(const QString& path) const;

    void read(QSettings& settings);
    void write(QSettings& settings) const;

  private:
    QStringList paths_;
    QStringList commands_;  // beside paths_
};

}  // namespace tessel::desktop
