#include "core/frmViewEventLog.h"

#include <exception>

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

#include "core/MDIMain.h"
#include "core/modEventLog.h"
#include "core/modMessageLog.h"
#include "platform/paths/FileTargets.h"
#include "platform/text/Text.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

namespace quorl {

namespace {

// The text box keeps this much room to the right and below it, where the Close
// button stands at its fixed place.
constexpr int kRightMargin = 7;
constexpr int kBottomMargin = 40;

} // namespace

QString traceLogRefusal(const QString &localPath)
{
    const QString refusal = paths::readRefusal(localPath);
    if (!refusal.isEmpty())
        return refusal;
    if (QFileInfo(localPath).size() > kTraceLogLimit)
        return QStringLiteral("\"%1\" is larger than %2 MB, more than any day's log holds, and is not shown.")
            .arg(localPath)
            .arg(kTraceLogLimit / (1024 * 1024));
    return QString();
}

bool readLogText(const QString &localPath, QString &text)
{
    // Read-only and without a lock, so the program's own appends go on meanwhile;
    // a line being written at this moment may show in part.
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Never more than the limit, even when the file grew after it was looked at.
    const QByteArray bytes = file.read(kTraceLogLimit + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kTraceLogLimit)
        return false;
    QString content = text::fromAnsi(bytes);
    text.clear();
    if (content.isEmpty())
        return true;
    content.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    content.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (content.endsWith(QLatin1Char('\n')))
        content.chop(1);
    for (const QString &line : content.split(QLatin1Char('\n')))
        text += line + QStringLiteral("\r\n");
    return true;
}

frmViewEventLog::frmViewEventLog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint)
{
    setObjectName(QStringLiteral("frmViewEventLog"));
    setWindowTitle(QStringLiteral("View Event Log File"));
    setModal(true);
    setSizeGripEnabled(true);

    txtEvent = new QPlainTextEdit(this);
    txtEvent->setObjectName(QStringLiteral("txtEvent"));
    txtEvent->setReadOnly(true);
    txtEvent->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtEvent->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cmdOK = new QPushButton(QStringLiteral("Close"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setGeometry(ui::twipsToPixels(7920), ui::twipsToPixels(6960), ui::twipsToPixels(1215),
                       ui::twipsToPixels(375));
    resize(ui::twipsToPixels(9270), ui::twipsToPixels(7440));
    setMinimumSize(ui::twipsToPixels(3000), ui::twipsToPixels(2000));

    connect(cmdOK, &QPushButton::clicked, this, &frmViewEventLog::cmdOK_Click);
}

void frmViewEventLog::Display()
{
    if (load())
        exec();
}

bool frmViewEventLog::load()
{
    try {
        ui::FileDialogRequest request;
        request.title = QString::fromUtf8(kTraceLogDialogTitle);
        request.initDir = traceFolderPath();
        request.filter = QString::fromUtf8(kTraceLogFilter);
        request.filterIndex = 2;
        request.flags = ui::cdlOFNFileMustExist | ui::cdlOFNHideReadOnly;
        request.save = false;
        const QString chosen = dlgExport(request);
        if (chosen.isEmpty())
            return false;
        // A pipe or device would keep the read waiting for good, and a huge file would fill
        // the memory; either is refused before anything opens it.
        const QString refusal = traceLogRefusal(chosen);
        if (!refusal.isEmpty()) {
            ui::MsgBox(refusal, ui::vbExclamation, windowTitle());
            return false;
        }
        QString content;
        if (!readLogText(chosen, content)) {
            logError(QStringLiteral("frmViewEventLog.Display"), QStringLiteral("Could not read ") + chosen);
            return false;
        }
        // The box breaks its lines itself; a CR left in would show as a stray mark.
        txtEvent->setPlainText(content.replace(QLatin1String("\r\n"), QLatin1String("\n")));
        return true;
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmViewEventLog.Display"), failure);
        return false;
    }
}

QString frmViewEventLog::text() const
{
    return txtEvent->toPlainText();
}

void frmViewEventLog::cmdOK_Click()
{
    accept();
}

void frmViewEventLog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmViewEventLog::Form_Resize()
{
    // The text box grows and shrinks with the window; the Close button keeps its
    // place and stays in front.
    txtEvent->setGeometry(0, 0, std::max(0, width() - kRightMargin), std::max(0, height() - kBottomMargin));
    cmdOK->raise();
}

} // namespace quorl
