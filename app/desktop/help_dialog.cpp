#include "help_dialog.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "command_menus.h"
#include "core/command_table.h"
#include "desktop_texts.h"

namespace tessel::desktop {

namespace {

QString shownPath(std::string_view menuPath) {
    QString path = QString::fromUtf8(menuPath.data(), static_cast<qsizetype>(menuPath.size()));
    path.remove(u'&');
    return path.replace(u'/', QStringLiteral(" > ")).toHtmlEscaped();
}

QString plain(const char* entry) {
    return QString::fromUtf8(entry).remove(u'&').toHtmlEscaped();
}

}  // namespace

QString helpText() {
    QString html =
        QStringLiteral(
            "<h2>%1</h2>"
            "<p>Each command of the format menus asks for a batch of files, converts them one by "
            "one "
            "and writes a report into the log window: a line per file and a summary. Mark-up "
            "commands write an RTF file next to each input in which every tag is a protected "
            "character style and the text to translate stays plain; the RTF -&gt; Text commands "
            "turn the translated RTF back into the source format. Error logs written by a batch "
            "open in their own windows at its end. Verify Translation checks translated RTF "
            "against the RTF the mark-up wrote before it goes back; Check Round Trip shows what "
            "a file will look like after mark-up and back-conversion. Both write their findings "
            "into the log.</p><h3>Commands</h3><table cellspacing=4>")
            .arg(text::kApplicationTitle);
    for (const app::Command& command : app::commandTable()) {
        if (command.menuPath.empty()) continue;
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                    .arg(shownPath(command.menuPath), commandStatusTip(command).toHtmlEscaped());
    }
    for (const app::CheckCommand& check : app::checkTable()) {
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                    .arg(shownPath(check.menuPath), checkEntryStatusTip(check).toHtmlEscaped());
    }
    html += QStringLiteral("</table><h3>Options</h3><table cellspacing=4>");
    const char* const options[][2] = {
        {text::kOverwriteEntry, text::kOverwritePrompt},
        {text::kAskTagFileEntry, text::kAskTagFilePrompt},
        {text::kStandardDialogEntry, text::kStandardDialogPrompt},
    };
    for (const auto& option : options) {
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                    .arg(plain(option[0]), QString::fromUtf8(option[1]).toHtmlEscaped());
    }
    return html + QStringLiteral("</table>");
}

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("%1 Help").arg(text::kApplicationTitle));
    auto* browser = new QTextBrowser(this);
    browser->setHtml(helpText());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser);
    layout->addWidget(buttons);
    resize(640, 480);
}

}  // namespace tessel::desktop
