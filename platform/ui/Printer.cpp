#include "platform/ui/Printer.h"

#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include "platform/paths/FileTargets.h"
#include "platform/paths/GuardedFileWriter.h"
#include "platform/paths/Paths.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MsgBox.h"

namespace quorl::ui {
namespace {

std::unique_ptr<PrinterService> s_printer;

constexpr qint64 kCopyChunk = 1 << 20;

// Copies the painted file to target through the guarded writer.
bool putInPlace(const QString &painted, const QString &target, const QString &databaseInUse, QString *error)
{
    QFile source(painted);
    paths::GuardedFileWriter file(target, databaseInUse);
    bool copied = source.open(QIODevice::ReadOnly) && file.open();
    while (copied && !source.atEnd()) {
        const QByteArray chunk = source.read(kCopyChunk);
        copied = !chunk.isEmpty() && file.write(chunk);
    }
    if (copied && file.commit())
        return true;
    *error = file.errorString().isEmpty() ? source.errorString() : file.errorString();
    return false;
}

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
    // Refused names are told before anything is painted.
    const QString refusal = paths::writeRefusal(path, databaseInUse);
    if (!refusal.isEmpty()) {
        MsgBox(refusal, vbExclamation);
        return false;
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(paths::resolveForOpen(path));
    return true;
}

bool printThroughTemporaryFile(QPrinter &printer, const QString &databaseInUse, const std::function<bool()> &paint,
                               QString *error)
{
    error->clear();
    const QString target = printer.outputFileName();
    if (target.isEmpty())
        return paint();
    // The PDF engine writes straight into the file it is given, in place.
    const QTemporaryDir folder(paths::tempFolder() + QStringLiteral("/quorl-print-XXXXXX"));
    if (!folder.isValid()) {
        *error = folder.errorString();
        return false;
    }
    // The same suffix, so that the printer keeps the output format it was given.
    const QString suffix = QFileInfo(target).suffix();
    const QString painted =
        folder.filePath(suffix.isEmpty() ? QStringLiteral("painted") : QStringLiteral("painted.") + suffix);
    printer.setOutputFileName(painted);
    const bool done = paint();
    printer.setOutputFileName(target);
    if (!done)
        return false;
    if (!QFile::exists(painted))
        return true;
    return putInPlace(painted, target, databaseInUse, error);
}

} // namespace quorl::ui
