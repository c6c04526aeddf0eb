#pragma once

#include <functional>
#include <memory>

#include <QString>

class QPrinter;

// Printing without a print dialog: a document goes to the default printer, and
// where no printer is installed the user is offered a PDF file instead. Tests
// install a service without printers, so nothing ever reaches a real one.

namespace quorl::ui {

class PrinterService {
public:
    virtual ~PrinterService() = default;
    // The name of the default printer; "" when none is installed.
    virtual QString defaultPrinterName() = 0;
};

class QtPrinterService final : public PrinterService {
public:
    QString defaultPrinterName() override;
};

// Hands back the service it replaces; until one is installed the Qt one is used.
std::unique_ptr<PrinterService> setPrinterService(std::unique_ptr<PrinterService> service);
PrinterService &printerService();

// Points printer at the default printer, or at a PDF file the user names in the
// file dialog when there is no printer. False when the user cancels that dialog,
// and when the name is one no file may be written to (a file of the database in
// use, a folder or device), which the user is told.
bool chooseDefaultPrinter(QPrinter &printer, const QString &documentName, const QString &databaseInUse);

// Runs paint, which paints into printer. When the printer writes a file (its output
// file name is set), the file is painted into a private temporary one and put at the
// output file name only once painting has ended, by the guarded rename that never
// writes over a file of the database in use or a device. Painting for a preview
// writes no file, and nothing is put in place. False when paint fails or the file
// is not put in place; *error then gives the reason ("" when painting failed).
bool printThroughTemporaryFile(QPrinter &printer, const QString &databaseInUse, const std::function<bool()> &paint,
                               QString *error);

} // namespace quorl::ui
