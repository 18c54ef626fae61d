// The three options kept between runs in the user's settings (organisation
// "Tessel", group "Settings"; stored as 0 or 1, off when absent) and the list
// of recently used files.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace tessel::desktop {

struct DesktopOptions {
    bool useStandardFileDialog = false;
    bool overwriteExistingFiles = false;
    bool askForTagFile = false;
};

// The settings store of the program.
QSettings* openSettings();

DesktopOptions readOptions(QSettings& settings);
void writeOptions(QSettings& settings, const DesktopOptions& options);

// Most recent first, at most kSize paths, no path twice.
class RecentFiles {
  public:
    static constexpr int kSize = 5;

    void add(const QString& path);
    void remove(const QString& path);
    const QStringList& paths() const { return paths_; }

    void read(QSettings& settings);
    void write(QSettings& settings) const;

  private:
    QStringList paths_;
};

}  // namespace tessel::desktop
