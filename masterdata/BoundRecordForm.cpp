#include "masterdata/BoundRecordForm.h"

#include <exception>

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/modMessageLog.h"
#include "masterdata/DataSource.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Adodc.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

namespace quorl {

namespace {

QPushButton *stripButton(QWidget *strip, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, strip);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// Every handler ends here on failure: the description for the user, the detail in the log.
void showFailure(const QString &where, const std::exception &failure)
{
    logError(where, failure);
    const auto *dbError = dynamic_cast<const db::Error *>(&failure);
    ui::MsgBox(dbError ? dbError->message() : QString::fromUtf8(failure.what()), ui::vbOKOnly);
}

} // namespace

BoundRecordForm::BoundRecordForm(QWidget *parent, const QString &caption, const QString &recordSource,
                                 QSize clientTwips)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_clientTwips(clientTwips)
{
    setWindowTitle(caption);
    setModal(true);
    setSizeGripEnabled(false);

    datPrimaryRS = new ui::Adodc(this);
    datPrimaryRS->setObjectName(QStringLiteral("datPrimaryRS"));
    datPrimaryRS->setConnectionString(connectionToDatabaseInUse());
    datPrimaryRS->setRecordSource(recordSource);
    connect(datPrimaryRS, &ui::Adodc::error, this, &BoundRecordForm::datPrimaryRS_Error);
    connect(datPrimaryRS, &ui::Adodc::moveComplete, this, &BoundRecordForm::datPrimaryRS_MoveComplete);
    connect(datPrimaryRS, &ui::Adodc::willChangeRecord, this, &BoundRecordForm::datPrimaryRS_WillChangeRecord);

    picButtons = new QWidget(this);
    picButtons->setObjectName(QStringLiteral("picButtons"));
    cmdUpdate = stripButton(picButtons, "cmdUpdate", QStringLiteral("&Update"));
    cmdRefresh = stripButton(picButtons, "cmdRefresh", QStringLiteral("&Refresh"));
    cmdClose = stripButton(picButtons, "cmdClose", QStringLiteral("&Close"));
    auto *strip = new QHBoxLayout(picButtons);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->addWidget(cmdUpdate);
    strip->addWidget(cmdRefresh);
    strip->addStretch(1);
    strip->addWidget(cmdClose);
    connect(cmdUpdate, &QPushButton::clicked, this, &BoundRecordForm::cmdUpdate_Click);
    connect(cmdRefresh, &QPushButton::clicked, this, &BoundRecordForm::cmdRefresh_Click);
    connect(cmdClose, &QPushButton::clicked, this, &BoundRecordForm::cmdClose_Click);
}

BoundRecordForm::~BoundRecordForm() = default;

void BoundRecordForm::setFieldsLayout(QLayout *fields)
{
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch(1);
    layout->addWidget(datPrimaryRS);
    layout->addWidget(picButtons);
    const QSize client(ui::twipsToPixels(m_clientTwips.width()), ui::twipsToPixels(m_clientTwips.height()));
    setFixedSize(client.expandedTo(layout->sizeHint()));
}

void BoundRecordForm::Form_Load()
{
    try {
        openLists();
        datPrimaryRS->open();
    } catch (const std::exception &failure) {
        showFailure(objectName() + QStringLiteral(".Form_Load"), failure);
    }
}

void BoundRecordForm::cmdUpdate_Click()
{
    try {
        datPrimaryRS->UpdateBatch();
    } catch (const std::exception &failure) {
        showFailure(objectName() + QStringLiteral(".cmdUpdate_Click"), failure);
    }
}

void BoundRecordForm::cmdRefresh_Click()
{
    try {
        datPrimaryRS->Refresh();
    } catch (const std::exception &failure) {
        showFailure(objectName() + QStringLiteral(".cmdRefresh_Click"), failure);
    }
}

void BoundRecordForm::cmdClose_Click()
{
    try {
        unloadForm();
    } catch (const std::exception &failure) {
        showFailure(objectName() + QStringLiteral(".cmdClose_Click"), failure);
    }
}

void BoundRecordForm::reject()
{
    try {
        unloadForm();
    } catch (const std::exception &failure) {
        showFailure(objectName() + QStringLiteral(".Form_Unload"), failure);
    }
}

void BoundRecordForm::datPrimaryRS_Error(const QString &description)
{
    logError(objectName() + QStringLiteral(".datPrimaryRS_Error"), description);
    ui::MsgBox(QStringLiteral("Data error event hit err:") + description, ui::vbOKOnly);
}

void BoundRecordForm::datPrimaryRS_MoveComplete()
{
    const db::Recordset *rows = datPrimaryRS->Recordset();
    const int position = rows && rows->isOpen() ? rows->AbsolutePosition() : 0;
    datPrimaryRS->setCaption(QStringLiteral("Record: ") + (position > 0 ? QString::number(position) : QString()));
}

void BoundRecordForm::datPrimaryRS_WillChangeRecord(bool *cancel)
{
    // Every change is accepted.
    Q_UNUSED(cancel);
}

bool BoundRecordForm::queryUnload()
{
    if (m_unloaded || !datPrimaryRS->hasChanges() || datPrimaryRS->saveChanges())
        return true;
    const int answer = ui::MsgBox(QStringLiteral("Your change could not be saved. Close the window and drop it?"),
                                  ui::vbYesNo | ui::vbQuestion | ui::vbDefaultButton2, windowTitle());
    return answer == ui::vbYes;
}

void BoundRecordForm::unloadForm()
{
    if (!queryUnload())
        return;
    Form_Unload();
    QDialog::reject();
}

void BoundRecordForm::Form_Unload()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (m_unloaded)
        return;
    m_unloaded = true;
    datPrimaryRS->close();
    closeLists();
}

} // namespace quorl
