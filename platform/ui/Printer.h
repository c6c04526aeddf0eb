#pragma once

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

} // namespace quorl::ui
