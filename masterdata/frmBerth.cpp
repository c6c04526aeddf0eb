#include "masterdata/frmBerth.h"

#include <exception>

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/BerthList.h"
#include "masterdata/ContactForms.h"
#include "masterdata/frmEditBerths.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

namespace quorl {

namespace {

const QString kCaption = QStringLiteral("Configure Berths ");
// Message boxes of the dialog's own failures carry its caption without the blank.
const QString kTitle = QStringLiteral("Configure Berths");
const QString kActivateCaption = QStringLiteral("Ac&tivate");
const QString kInactivateCaption = QStringLiteral("Inac&tivate");
const QString kSaveBeforeEditQuestion =
    QStringLiteral("The changes made here must be saved before the berths can be edited. Save them now?");
// Command2 stands after the labels in the tab order, out of the Enter key's reach.
constexpr int kEditBerthsTabIndex = 30;

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setAutoDefault(false);
    return result;
}

bool hasValue(const QVariant &value)
{
    return value.isValid() && !value.isNull();
}

bool isTrue(const QVariant &value)
{
    return hasValue(value) && value.toDouble() != 0;
}

// The calendars show bookings of berths: the main window's active child reads its
// rows again once the berths changed.
void activateMainWindowChild()
{
    try {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!qobject_cast<QMainWindow *>(window))
                continue;
            if (const auto *area = window->findChild<QMdiArea *>()) {
                ui::callFormActivate(area);
                return;
            }
        }
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmBerth.Form_Activate"), failure);
    }
}

} // namespace

frmBerth::frmBerth(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmBerth"));
    setWindowTitle(kCaption);
    setModal(true);
    buildControls();
}

frmBerth::~frmBerth()
{
    rollBack();
}

void frmBerth::buildControls()
{
    lblStep = new QLabel(QStringLiteral("Configure the berths that should be available for booking"), this);
    lblStep->setObjectName(QStringLiteral("lblStep"));
    QFont heading = lblStep->font();
    heading.setBold(true);
    lblStep->setFont(heading);

    buildBerthControls(this);
    cmdActivate = button(this, "cmdActivate", kActivateCaption);
    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(cmdActivate);
    listButtons->addWidget(cmdRemove);
    berthListLayout->addLayout(listButtons);

    auto *body = new QHBoxLayout;
    body->addLayout(berthFieldsLayout, 1);
    body->addLayout(berthListLayout, 1);

    Command2 = button(this, "Command2", QStringLiteral("&Edit Berths"));
    Command1 = button(this, "Command1", QStringLiteral("&OK"));
    cmdCancel = button(this, "cmdCancel", QStringLiteral("Cancel"));
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Command2);
    bottom->addStretch(1);
    bottom->addWidget(Command1);
    bottom->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblStep);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);
    const QSize client(ui::twipsToPixels(6705), ui::twipsToPixels(4800));
    setFixedSize(client.expandedTo(layout->sizeHint()));

    const QList<QWidget *> tabOrder{txtName, txtLength, txtWidth, cboBerthType, chkHasPower, chkOwner,
                                    cboOwner, txtDailyHireCharge, txtWeeklyHireCharge, txtMonthlyHireCharge,
                                    txtNotes, cmdAdd, lstBerth, cmdActivate, cmdRemove, Command1, cmdCancel};
    for (int index = 0; index < tabOrder.size(); ++index) {
        setTabIndex(tabOrder[index], index);
        if (index > 0)
            setTabOrder(tabOrder[index - 1], tabOrder[index]);
    }
    setTabIndex(Command2, kEditBerthsTabIndex);
    setTabOrder(cmdCancel, Command2);

    connect(chkOwner, &QCheckBox::clicked, this, &frmBerth::chkOwner_Click);
    connect(lstBerth, &ui::DataList::Click, this, &frmBerth::lstBerth_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmBerth::cmdAdd_Click);
    connect(cmdActivate, &QPushButton::clicked, this, &frmBerth::cmdActivate_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmBerth::cmdRemove_Click);
    connect(Command2, &QPushButton::clicked, this, &frmBerth::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmBerth::Command1_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBerth::cmdCancel_Click);

    installBerthNumberChecks(this);

    // The form sees the Enter key before its controls do.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    resetEntryFields();
}

void frmBerth::Display()
{
    if (!prepare())
        return;
    exec();
}

bool frmBerth::prepare()
{
    try {
        if (!DbConnection || !DbConnection->isOpen())
            throw db::Error(QStringLiteral("No database connection is open."));
        rollBack();

        auto operationLog = newOperationLog();
        auto opened = [](const QString &source) {
            auto rows = OpenRecordset(source, nullptr, false);
            if (!rows->isOpen())
                throw db::Error(rows->lastError());
            return rows;
        };
        auto berths = opened(QString::fromLatin1(kBerthListQuery));
        berths->setSort(QString::fromLatin1(kBerthListSort));
        auto types = opened(QStringLiteral("BerthType"));
        auto owners = opened(QStringLiteral("Owner"));

        // The lists take the new rows before the old recordsets go.
        m_operationLog = std::move(operationLog);
        std::swap(m_berths, berths);
        std::swap(m_types, types);
        std::swap(m_owners, owners);
        resetEntryFields();
        BindControls();

        DbConnection->BeginTrans();
        m_inTransaction = true;
        showCurrentBerth();
        return true;
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmBerth.Display"), failure, kTitle);
        return false;
    }
}

void frmBerth::BindControls()
{
    bindBerthControls(m_types.get(), m_owners.get(), m_berths.get(), QStringLiteral("BName"));
}

void frmBerth::resetEntryFields()
{
    clearBerthEntry();
    cboOwner->setEnabled(false);
    cboBerthType->setCurrentIndex(-1);
    cboOwner->setCurrentIndex(-1);
    cmdActivate->setText(kActivateCaption);
}

void frmBerth::ClearFields()
{
    clearBerthFields();
}

void frmBerth::chkOwner_Click()
{
    showOwnerChoice();
}

void frmBerth::lstBerth_Click()
{
    try {
        const QVariant id = lstBerth->boundValue();
        if (!m_berths || m_berths->RecordCount() == 0 || !hasValue(id))
            return;
        m_berths->MoveFirst();
        m_berths->Find(QStringLiteral("ID = ") + db::sqlNumber(id.toLongLong()));
        if (!m_berths->isEOF())
            cmdActivate->setText(isTrue(m_berths->value(QStringLiteral("Active"))) ? kInactivateCaption
                                                                                   : kActivateCaption);
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmBerth.lstBerth_Click"), failure, kTitle);
    }
}

void frmBerth::cmdAdd_Click()
{
    try {
        if (!m_berths)
            return;
        const std::optional<QString> name = addBerth(*m_berths, QStringLiteral("frmBerth.cmdAdd_Click"));
        if (!name)
            return;
        m_berths->Requery();
        logOperation(*m_operationLog, evBerthAdded, berthAddedDetails(*name));
        ClearFields();
        showCurrentBerth();
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmBerth.cmdAdd_Click"), failure, QString::fromLatin1(kAddBerthTitle));
    }
}

void frmBerth::cmdActivate_Click()
{
    try {
        if (!m_berths || m_berths->isEOF() || m_berths->isBOF())
            return;
        const QString name = m_berths->value(QStringLiteral("Name")).toString();
        const bool active = !isTrue(m_berths->value(QStringLiteral("Active")));
        try {
            m_berths->setValue(QStringLiteral("Active"), active);
            m_berths->Update();
        } catch (...) {
            m_berths->CancelUpdate();
            throw;
        }
        logOperation(*m_operationLog, evBerthModified, berthActivationDetails(name, active));
        m_berths->Requery();
        showCurrentBerth();
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmBerth.cmdActivate_Click"), failure, kTitle,
                      QStringLiteral("The berth could not be changed."));
    }
}

void frmBerth::cmdRemove_Click()
{
    try {
        if (!m_berths)
            return;
        removeChosenBerth(*m_berths, *m_operationLog);
        showCurrentBerth();
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmBerth.cmdRemove_Click"), failure, kTitle,
                      QStringLiteral("The berth could not be deleted."));
        showCurrentBerth();
    }
}

void frmBerth::Command2_Click()
{
    try {
        // The editor saves on its own connection and commits at once. The database
        // lets one connection write at a time, so while this dialog holds changes
        // every save of the editor would wait and fail: they are saved first.
        if (DbConnection && DbConnection->holdsWriteLock()) {
            if (ui::MsgBox(kSaveBeforeEditQuestion, ui::vbYesNo | ui::vbQuestion, kTitle) != ui::vbYes)
                return;
            if (!commitChanges(QStringLiteral("frmBerth.Command2_Click")))
                return;
            m_operationLog->Open();
            DbConnection->BeginTrans();
            m_inTransaction = true;
        }
        // This list is not read again after the editor.
        frmEditBerths editor(this);
        editor.exec();
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmBerth.Command2_Click"), failure, kTitle);
    }
}

void frmBerth::Command1_Click()
{
    try {
        if (!commitChanges(QStringLiteral("frmBerth.Command1_Click")))
            return;
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmBerth.Command1_Click"), failure);
    }
    QDialog::accept();
    activateMainWindowChild();
}

bool frmBerth::commitChanges(const QString &where)
{
    if (m_inTransaction) {
        try {
            DbConnection->CommitTrans();
            m_inTransaction = false;
        } catch (const std::exception &failure) {
            rollBack();
            logError(where, failure);
            ui::MsgBox(QStringLiteral("The changes to the berths could not be saved and have been undone.\n")
                           + userErrorText(failure),
                       ui::vbExclamation, kTitle);
            startOver();
            return false;
        }
    }
    try {
        if (m_operationLog)
            writeOperationLog(*m_operationLog);
    } catch (const std::exception &failure) {
        // The changes are saved; a lost event must not undo them.
        logError(where, failure);
    }
    return true;
}

void frmBerth::startOver()
{
    try {
        m_operationLog->Open();
        m_berths->Requery();
        m_types->Requery();
        m_owners->Requery();
        DbConnection->BeginTrans();
        m_inTransaction = true;
        showCurrentBerth();
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmBerth.Command1_Click"), failure, kTitle);
    }
}

void frmBerth::cmdCancel_Click()
{
    rollBack();
    QDialog::reject();
}

void frmBerth::reject()
{
    cmdCancel_Click();
}

void frmBerth::rollBack()
{
    rollBackTransaction(m_inTransaction, QStringLiteral("frmBerth.cmdCancel_Click"));
}

void frmBerth::showCurrentBerth()
{
    if (!m_berths)
        return;
    const int row = m_berths->currentRow();
    lstBerth->setCurrentRow(row);
    const bool active = row >= 0 && isTrue(m_berths->value(QStringLiteral("Active")));
    cmdActivate->setText(active ? kInactivateCaption : kActivateCaption);
}

void frmBerth::txtDailyHireCharge_Validate(bool &Cancel)
{
    validateBerthNumber(txtDailyHireCharge, Cancel);
}

void frmBerth::txtLength_Validate(bool &Cancel)
{
    validateBerthNumber(txtLength, Cancel);
}

void frmBerth::txtMonthlyHireCharge_Validate(bool &Cancel)
{
    validateBerthNumber(txtMonthlyHireCharge, Cancel);
}

void frmBerth::txtWeeklyHireCharge_Validate(bool &Cancel)
{
    validateBerthNumber(txtWeeklyHireCharge, Cancel);
}

void frmBerth::txtWidth_Validate(bool &Cancel)
{
    validateBerthNumber(txtWidth, Cancel);
}

bool frmBerth::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnterKeyIn(this, watched, event)) {
        Form_KeyDown(13);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmBerth::Form_KeyDown(int KeyCode)
{
    if (KeyCode == 13)
        FocusNextControl(this);
}

} // namespace quorl
