#include "platform/ui/Printer.h"

#include <utility>

#include <QPrinter>
#include <QPrinterInfo>

#include "platform/paths/FileTargets.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MsgBox.h"

namespace quorl::ui {
namespace {

std::unique_ptr<PrinterService> s_printer;

} // namespace

QString QtPrinterService::defaultPrinterName()
{
    const QString name = QPrinterInfo::defaultPrinterName();
    if (!name.isEmpty())
        return name;
    // A system without a chosen default still prints on its only printer.
    const QStringList names = QPrinterInfo::availablePrinterNames();
    return names.size() == 1 ? names.first() : QString();
}

std::unique_ptr<PrinterService> setPrinterService(std::unique_ptr<PrinterService> service)
{
    return std::exchange(s_printer, std::move(service));
}

PrinterService &printerService()
{
    if (!s_printer)
        s_printer = std::make_unique<QtPrinterService>();
    return *s_printer;
}

bool chooseDefaultPrinter(QPrinter &printer, const QString &documentName, const QString &databaseInUse)
{
    printer.setDocName(documentName);
    const QString name = printerService().defaultPrinterName();
    if (!name.isEmpty()) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(name);
        return true;
    }
    FileDialogRequest request;
    request.title = QStringLiteral("No printer is installed: save as PDF");
    request.fileName = documentName + QStringLiteral(".pdf");
    request.filter = QStringLiteral("PDF files (*.pdf)|*.pdf");
    request.filterIndex = 1;
    request.defaultExt = QStringLiteral("pdf");
    request.flags = cdlOFNOverwritePrompt | cdlOFNHideReadOnly | cdlOFNPathMustExist;
    request.save = true;
    const QString path = showFileDialog(request);
    if (path.isEmpty())
        return false;
    // The PDF engine writes straight into the file it is given, so it is looked at first.
    const QString refusal = paths::writeRefusal(path, databaseInUse);
    if (!refusal.isEmpty()) {
        MsgBox(refusal, vbExclamation);
        return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
}

} // namespace quorl::ui
