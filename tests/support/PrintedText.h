#pragma once

#include <memory>

#include <QString>

namespace quorl::ui {
class PrinterService;
}

namespace quorl {

// The text of a PDF file as pdftotext lays it out (poppler-utils); "" and a test
// failure when the tool is missing or the file cannot be read.
QString pdfText(const QString &pdfPath);

// While it lives the program sees no printer, so whatever it prints is offered
// as a PDF file through the file dialog and never reaches a real printer.
class NoPrinterInstalled
{
public:
    NoPrinterInstalled();
    ~NoPrinterInstalled();
    NoPrinterInstalled(const NoPrinterInstalled &) = delete;
    NoPrinterInstalled &operator=(const NoPrinterInstalled &) = delete;

private:
    std::unique_ptr<ui::PrinterService> m_previous;
};

} // namespace quorl
