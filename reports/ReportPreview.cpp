#include "reports/ReportPreview.h"

#include <map>

#include <QPointer>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include "core/MDIMain.h"
#include "core/modDatabase.h"
#include "core/modMessageLog.h"
#include "platform/paths/FileTargets.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Printer.h"

namespace quorl::reports {
namespace {

std::map<QString, QPointer<ReportPreviewDialog>> &previews()
{
    static std::map<QString, QPointer<ReportPreviewDialog>> open;
    return open;
}

} // namespace

ReportPreviewDialog::ReportPreviewDialog(QWidget *parent)
    : QPrintPreviewDialog(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    connect(this, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *printer) {
        try {
            // Printing to a file from here names it in Qt's own dialogs; a refused
            // name is told before anything is painted.
            const QString refusal = paths::writeRefusal(printer->outputFileName(), databaseInUse());
            if (!refusal.isEmpty()) {
                printer->setOutputFileName(QString());
                ui::MsgBox(refusal, ui::vbExclamation);
                return;
            }
            const auto paint = [this, printer] { return m_document.print(*printer); };
            QString reason;
            if (!ui::printThroughTemporaryFile(*printer, databaseInUse(), paint, &reason) && !reason.isEmpty()) {
                logError(QStringLiteral("ReportPreviewDialog.paintRequested"),
                         printer->outputFileName() + QStringLiteral(": ") + reason);
                printer->setOutputFileName(QString());
                ui::MsgBox(reason, ui::vbExclamation);
            }
        } catch (const std::exception &error) {
            logError(QStringLiteral("ReportPreviewDialog.paintRequested"), error);
        }
    });
}

void ReportPreviewDialog::setDocument(const ReportDocument &document)
{
    m_document = document;
    m_document.setUp(*printer());
}

ReportPreviewDialog *showPreview(const QString &layoutName, const QString &caption, const ReportDocument &document)
{
    QPointer<ReportPreviewDialog> &preview = previews()[layoutName];
    const bool fresh = !preview;
    if (fresh) {
        preview = new ReportPreviewDialog(MDIMain::current());
        preview->setObjectName(layoutName);
        preview->resize(900, 700);
    }
    preview->setWindowTitle(caption);
    preview->setDocument(document);
    if (!fresh) {
        // The same window shows the new rows: QPrintPreviewDialog repaints through its widget.
        if (auto *widget = preview->findChild<QPrintPreviewWidget *>())
            widget->updatePreview();
    }
    preview->show();
    preview->raise();
    preview->activateWindow();
    return preview;
}

ReportPreviewDialog *previewOf(const QString &layoutName)
{
    const auto found = previews().find(layoutName);
    return found == previews().end() ? nullptr : found->second.data();
}

bool printReport(const ReportDocument &document)
{
    QPrinter printer(QPrinter::HighResolution);
    document.setUp(printer);
    if (!ui::chooseDefaultPrinter(printer, document.name, databaseInUse()))
        return false;
    QString reason;
    if (ui::printThroughTemporaryFile(printer, databaseInUse(), [&] { return document.print(printer); }, &reason))
        return true;
    const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    QString failure = QStringLiteral("cannot print \"%1\" on %2").arg(document.name, where);
    QString message = QStringLiteral("The report could not be printed on %1.").arg(where);
    // A refused or unwritable file says why, naming it.
    if (!reason.isEmpty()) {
        failure += QStringLiteral(": ") + reason;
        message += QStringLiteral("\n\n") + reason;
    }
    logError(QStringLiteral("printReport"), failure);
    ui::MsgBox(message, ui::vbOKOnly | ui::vbCritical);
    return false;
}

} // namespace quorl::reports
