#include "support/PrintedText.h"

#include <gtest/gtest.h>

#include <QProcess>

#include "platform/ui/Printer.h"

namespace quorl {
namespace {

class NoPrinters final : public ui::PrinterService {
public:
    QString defaultPrinterName() override { return QString(); }
};

} // namespace

QString pdfText(const QString &pdfPath)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext could not read " << pdfPath.toStdString() << ": "
                      << tool.readAllStandardError().toStdString() << tool.errorString().toStdString();
        return QString();
    }
    return QString::fromUtf8(tool.readAllStandardOutput());
}

NoPrinterInstalled::NoPrinterInstalled()
    : m_previous(ui::setPrinterService(std::make_unique<NoPrinters>()))
{
}

NoPrinterInstalled::~NoPrinterInstalled()
{
    ui::setPrinterService(std::move(m_previous));
}

} // namespace quorl
