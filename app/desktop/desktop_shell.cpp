#include "desktop_shell.h"

#include <QCoreApplication>
#include <QFile>

#include "desktop_host.h"
#include "log_document.h"
#include "tessel_cat.h"
#include "user_prompts.h"

namespace tessel::desktop {

namespace {

QString fromCoreText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList fromCorePaths(const std::vector<std::string>& paths) {
    QStringList list;
    for (const std::string& path : paths) list << fromCorePath(path);
    return list;
}

}  // namespace

QString fromCorePath(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string toCorePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::vector<std::string> DesktopShell::chooseFiles(const app::FileChoice& choice) {
    QStringList chosen =
        host_.prompts().chooseFiles(fromCoreText(choice.title), fromCoreText(choice.filter),
                                    host_.options().useStandardFileDialog);
    std::vector<std::string> files;
    for (const QString& file : chosen) files.push_back(toCorePath(file));
    return files;
}

std::string DesktopShell::chooseOneFile(const app::FileChoice& choice) {
    return toCorePath(
        host_.prompts().chooseOneFile(fromCoreText(choice.title), fromCoreText(choice.filter)));
}

bool DesktopShell::askYesNo(const std::string& question) {
    return host_.prompts().askYesNo(fromCoreText(question));
}

void DesktopShell::appendReport(const std::string& text, app::ReportStyle style) {
    // Report texts hold paths, which are the file system's bytes.
    log_.appendReport(fromCorePath(text), style);
    // The report grows while the batch runs; input waits until it is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void DesktopShell::clearReport() {
    log_.clearReport();
}

void DesktopShell::openErrorLogs(const std::vector<std::string>& paths) {
    host_.openErrorLogs(fromCorePaths(paths));
}

bool DesktopShell::closeErrorLogViews(const std::vector<std::string>& logPaths) {
    return host_.closeErrorLogWindows(fromCorePaths(logPaths));
}

app::CodePageChoice DesktopShell::chooseCodePage(unsigned presetCodePage) {
    // The library shows its dialog through the presenter of library_hooks.cpp.
    unsigned codePage = presetCodePage;
    const char* charset = gf_pszGetCodepageFromLanguageDialog(&codePage);
    if (charset == nullptr || codePage == 0) return {};
    host_.rememberCodePage(codePage);
    return app::CodePageChoice{codePage, charset};
}

}  // namespace tessel::desktop
