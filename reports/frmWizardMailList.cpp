#include "reports/frmWizardMailList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/MDIMain.h"
#include "core/RegistryValues.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modMessageLog.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/paths/FileTargets.h"
#include "platform/paths/Paths.h"
#include "platform/text/AnsiFileWriter.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"

namespace quorl {
namespace {

const QString kTitle = QStringLiteral("Mailing list");

} // namespace

QString mailingListText()
{
    auto rows = OpenRecordset(QStringLiteral("SELECT EmailAddress FROM Customer WHERE EmailAddress is not null "
                                             "and EmailAddress <> '' ORDER BY ID"),
                              nullptr, true, db::adCmdText);
    if (!rows->isOpen())
        throw db::Error(rows->lastError());
    QString joined;
    for (; !rows->isEOF(); rows->MoveNext()) {
        if (!joined.isEmpty())
            joined += QLatin1String(", ");
        joined += rows->value(0).toString();
    }
    return joined;
}

bool writeMailingList(const QString &localPath, const QString &addresses, QString *error)
{
    text::AnsiFileWriter file(localPath, databaseInUse());
    const bool written = file.open() && file.write(addresses + QStringLiteral("\r\n")) && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

frmWizardMailList::frmWizardMailList(QWidget *parent)
    : WelcomeWizard(parent, "frmWizardMailList", QString::fromUtf8(kValueMailListWelcomeScreen),
                    {QStringLiteral("Email Mailing List Wizard"),
                     {QStringLiteral("Welcome to the Email Mailing List Wizard"),
                      QStringLiteral("Using this wizard you can create a mailing list of your customers."),
                      QStringLiteral("To contionue, click Next.")}})
{
    QVBoxLayout *filePage =
        addPage(QStringLiteral("Enter the Mailing List filename"),
                {QStringLiteral("Enter the filename you would like to populate with your email list.")});
    txtFileName = new QLineEdit;
    txtFileName->setObjectName(QStringLiteral("txtFileName"));
    cmdBrowse = new QPushButton(QStringLiteral("B&rowse..."));
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setAutoDefault(false);
    auto *label = new QLabel(QStringLiteral("Mailing list filename:"));
    label->setBuddy(txtFileName);
    filePage->addWidget(label);
    auto *row = new QHBoxLayout;
    row->addWidget(txtFileName, 1);
    row->addWidget(cmdBrowse);
    filePage->addLayout(row);
    filePage->addStretch(1);

    addPage(QStringLiteral("Finished"), {QStringLiteral("Click Finish to complete your configuration")})->addStretch(1);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmWizardMailList::cmdBrowse_Click);
    finishPages();
}

void frmWizardMailList::cmdBrowse_Click()
{
    try {
        ui::FileDialogRequest request;
        request.title = QStringLiteral("Mailing list file");
        request.fileName = QStringLiteral("maillist.txt");
        request.filter = QStringLiteral("All Files (*.*)|*.*|");
        request.filterIndex = 1;
        request.defaultExt = QString();
        request.initDir = QString();
        request.flags = ui::cdlOFNHideReadOnly | ui::cdlOFNOverwritePrompt | ui::cdlOFNPathMustExist;
        request.save = true;
        const QString chosen = dlgExport(request);
        if (!chosen.isEmpty())
            txtFileName->setText(chosen);
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmWizardMailList.cmdBrowse_Click"), error);
    }
}

bool frmWizardMailList::mayLeave(int page)
{
    if (page != 1 || !txtFileName->text().isEmpty())
        return true;
    ui::MsgBox(QStringLiteral("Please enter a file name"), ui::vbExclamation, kTitle);
    txtFileName->setFocus();
    return false;
}

bool frmWizardMailList::finish()
{
    storeWelcomeChoice();
    const QString fileName = txtFileName->text();
    const QString refusal = paths::writeRefusal(fileName, databaseInUse());
    if (!refusal.isEmpty())
        return backToFileName(QStringLiteral("Invalid filename\n\n") + refusal);

    QString addresses;
    try {
        addresses = mailingListText();
    } catch (const db::Error &error) {
        // The name is fine; sending the user back to it would have them mend the wrong thing.
        logError(QStringLiteral("frmWizardMailList.Finish"), error);
        ui::MsgBox(QStringLiteral("The customers' e-mail addresses could not be read:\n") + error.message(),
                   ui::vbCritical, kTitle);
        return false;
    }

    QString reason;
    if (!writeMailingList(paths::resolveForOpen(fileName), addresses, &reason)) {
        logError(QStringLiteral("frmWizardMailList.Finish"), fileName + QStringLiteral(": ") + reason);
        return backToFileName(QStringLiteral("Invalid filename\n\n") + reason);
    }
    WriteEventLog(ui::Now(), evMailingListGenerated, QStringLiteral("Filename: ") + fileName);
    return true;
}

bool frmWizardMailList::backToFileName(const QString &message)
{
    ui::MsgBox(message, ui::vbExclamation, kTitle);
    showPage(1);
    txtFileName->setFocus();
    return false;
}

} // namespace quorl
