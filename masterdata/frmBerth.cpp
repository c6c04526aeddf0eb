#include "masterdata/frmBerth.h"

#include <exception>

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
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
#include "masterdata/frmEditBerths.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/MdiChildren.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/ValidateOnLeave.h"

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

QLineEdit *lineEdit(QWidget *parent, const char *name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setAutoDefault(false);
    return result;
}

QLabel *caption(QWidget *parent, const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

bool hasValue(const QVariant &value)
{
    return value.isValid() && !value.isNull();
}

bool isTrue(const QVariant &value)
{
    return hasValue(value) && value.toDouble() != 0;
}

QString describe(const std::exception &failure)
{
    const auto *dbError = dynamic_cast<const db::Error *>(&failure);
    return dbError ? dbError->message() : QString::fromUtf8(failure.what());
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

    txtName = lineEdit(this, "txtName");
    txtLength = lineEdit(this, "txtLength");
    txtWidth = lineEdit(this, "txtWidth");
    cboBerthType = new ui::DataCombo(this);
    cboBerthType->setObjectName(QStringLiteral("cboBerthType"));
    chkHasPower = new QCheckBox(QStringLiteral("Power:"), this);
    chkHasPower->setObjectName(QStringLiteral("chkHasPower"));
    chkOwner = new QCheckBox(QStringLiteral("Owner:"), this);
    chkOwner->setObjectName(QStringLiteral("chkOwner"));
    chkOwner->setLayoutDirection(Qt::RightToLeft); // the caption stands left of the box
    cboOwner = new ui::DataCombo(this);
    cboOwner->setObjectName(QStringLiteral("cboOwner"));
    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNotes->setTabChangesFocus(true);
    txtNotes->setFixedHeight(ui::twipsToPixels(700));

    auto *fields = new QGridLayout;
    fields->addWidget(caption(this, QStringLiteral("Berth:"), txtName), 0, 0);
    fields->addWidget(txtName, 0, 1);
    fields->addWidget(caption(this, QStringLiteral("Length:"), txtLength), 1, 0);
    fields->addWidget(txtLength, 1, 1);
    fields->addWidget(caption(this, QStringLiteral("Width:"), txtWidth), 2, 0);
    fields->addWidget(txtWidth, 2, 1);
    fields->addWidget(caption(this, QStringLiteral("Type:"), cboBerthType), 3, 0);
    fields->addWidget(cboBerthType, 3, 1);
    fields->addWidget(chkHasPower, 4, 1);
    fields->addWidget(chkOwner, 5, 0);
    fields->addWidget(cboOwner, 5, 1);

    fraHireCharges = new QGroupBox(QStringLiteral("Hire charges"), this);
    fraHireCharges->setObjectName(QStringLiteral("fraHireCharges"));
    txtDailyHireCharge = lineEdit(fraHireCharges, "txtDailyHireCharge");
    txtWeeklyHireCharge = lineEdit(fraHireCharges, "txtWeeklyHireCharge");
    txtMonthlyHireCharge = lineEdit(fraHireCharges, "txtMonthlyHireCharge");
    auto *charges = new QGridLayout(fraHireCharges);
    charges->addWidget(caption(fraHireCharges, QStringLiteral("Daily:"), txtDailyHireCharge), 0, 0);
    charges->addWidget(txtDailyHireCharge, 0, 1);
    charges->addWidget(caption(fraHireCharges, QStringLiteral("Weekly:"), txtWeeklyHireCharge), 1, 0);
    charges->addWidget(txtWeeklyHireCharge, 1, 1);
    charges->addWidget(caption(fraHireCharges, QStringLiteral("Monthly:"), txtMonthlyHireCharge), 2, 0);
    charges->addWidget(txtMonthlyHireCharge, 2, 1);
    fields->addWidget(fraHireCharges, 6, 0, 1, 2);
    fields->addWidget(caption(this, QStringLiteral("Notes:"), txtNotes), 7, 0, Qt::AlignTop);
    fields->addWidget(txtNotes, 7, 1);
    cmdAdd = button(this, "cmdAdd", QStringLiteral("&Add"));
    fields->addWidget(cmdAdd, 8, 1, Qt::AlignRight);

    lstBerth = new ui::DataList(this);
    lstBerth->setObjectName(QStringLiteral("lstBerth"));
    cmdActivate = button(this, "cmdActivate", kActivateCaption);
    cmdRemove = button(this, "cmdRemove", QStringLiteral("&Remove"));
    auto *list = new QVBoxLayout;
    list->addWidget(caption(this, QStringLiteral("Available berths:"), lstBerth));
    list->addWidget(lstBerth, 1);
    auto *listButtons = new QHBoxLayout;
    listButtons->addWidget(cmdActivate);
    listButtons->addWidget(cmdRemove);
    list->addLayout(listButtons);

    auto *body = new QHBoxLayout;
    body->addLayout(fields, 1);
    body->addLayout(list, 1);

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

    auto validator = [this](void (frmBerth::*handler)(bool &)) {
        return [this, handler] {
            bool cancel = false;
            (this->*handler)(cancel);
            return !cancel;
        };
    };
    ui::installValidateOnLeave(txtDailyHireCharge, validator(&frmBerth::txtDailyHireCharge_Validate));
    ui::installValidateOnLeave(txtLength, validator(&frmBerth::txtLength_Validate));
    ui::installValidateOnLeave(txtMonthlyHireCharge, validator(&frmBerth::txtMonthlyHireCharge_Validate));
    ui::installValidateOnLeave(txtWeeklyHireCharge, validator(&frmBerth::txtWeeklyHireCharge_Validate));
    ui::installValidateOnLeave(txtWidth, validator(&frmBerth::txtWidth_Validate));

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

        auto operationLog = std::make_unique<db::Recordset>();
        operationLog->appendField(QStringLiteral("oper"), db::FieldType::Long);
        operationLog->appendField(QStringLiteral("descr"), db::FieldType::Text);
        operationLog->Open();

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
        reportFailure(QStringLiteral("frmBerth.Display"), failure, kTitle);
        return false;
    }
}

void frmBerth::BindControls()
{
    cboBerthType->setListField(QStringLiteral("Type"));
    cboBerthType->setBoundColumn(QStringLiteral("ID"));
    cboBerthType->setRowSource(m_types.get());
    cboOwner->setListField(QStringLiteral("Name"));
    cboOwner->setBoundColumn(QStringLiteral("ID"));
    cboOwner->setRowSource(m_owners.get());
    cboOwner->setEnabled(chkOwner->isChecked());
    lstBerth->setListField(QStringLiteral("BName"));
    lstBerth->setBoundColumn(QStringLiteral("ID"));
    lstBerth->setRowSource(m_berths.get());
    cboBerthType->setCurrentIndex(-1);
    cboOwner->setCurrentIndex(-1);
}

void frmBerth::resetEntryFields()
{
    for (QLineEdit *box : {txtName, txtLength, txtWidth, txtDailyHireCharge, txtWeeklyHireCharge, txtMonthlyHireCharge})
        box->clear();
    txtNotes->clear();
    chkOwner->setChecked(false);
    chkHasPower->setChecked(false);
    cboOwner->setEnabled(false);
    cboBerthType->setCurrentIndex(-1);
    cboOwner->setCurrentIndex(-1);
    cmdActivate->setText(kActivateCaption);
}

void frmBerth::ClearFields()
{
    for (QLineEdit *box : {txtName, txtLength, txtWidth, txtDailyHireCharge, txtWeeklyHireCharge, txtMonthlyHireCharge})
        box->clear();
    cboBerthType->setText(QString());
    cboOwner->setText(QString());
}

void frmBerth::chkOwner_Click()
{
    cboOwner->setEnabled(chkOwner->isChecked());
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
        reportFailure(QStringLiteral("frmBerth.lstBerth_Click"), failure, kTitle);
    }
}

void frmBerth::cmdAdd_Click()
{
    try {
        if (!m_berths)
            return;
        const QString name = txtName->text().trimmed();
        if (name.isEmpty()) {
            ui::MsgBox(QString::fromLatin1(kNoBerthNameMessage), ui::vbExclamation, QString::fromLatin1(kAddBerthTitle));
            txtName->setFocus();
            return;
        }
        if (chkOwner->isChecked() && !hasValue(cboOwner->boundValue())) {
            ui::MsgBox(QString::fromLatin1(kNoOwnerMessage), ui::vbExclamation, QString::fromLatin1(kAddBerthTitle));
            cboOwner->setFocus();
            return;
        }
        if (!hasValue(cboBerthType->boundValue())) {
            ui::MsgBox(QString::fromLatin1(kNoBerthTypeMessage), ui::vbExclamation,
                       QString::fromLatin1(kAddBerthTitle));
            cboBerthType->setFocus();
            return;
        }
        // The boxes are checked as they are left; text put there by other means is checked here.
        if (!checkNumbers())
            return;
        try {
            saveNewBerth(name);
        } catch (const std::exception &failure) {
            reportFailure(QStringLiteral("frmBerth.cmdAdd_Click"), failure, QString::fromLatin1(kAddBerthTitle),
                          QStringLiteral("The berth could not be added."));
            return;
        }
        m_berths->Requery();
        logOperation(evBerthAdded, berthAddedDetails(name));
        ClearFields();
        showCurrentBerth();
    } catch (const std::exception &failure) {
        reportFailure(QStringLiteral("frmBerth.cmdAdd_Click"), failure, QString::fromLatin1(kAddBerthTitle));
    }
}

void frmBerth::saveNewBerth(const QString &name)
{
    db::Recordset &rows = *m_berths;
    auto setNumber = [&rows](const char *field, QLineEdit *box, BerthNumberKind kind) {
        if (const auto number = readBerthNumber(box->text(), kind))
            rows.setValue(QString::fromLatin1(field), *number);
    };
    rows.AddNew();
    try {
        rows.setValue(QStringLiteral("Name"), name);
        setNumber("Length", txtLength, BerthNumberKind::Measure);
        setNumber("Width", txtWidth, BerthNumberKind::Measure);
        rows.setValue(QStringLiteral("TypeID"), cboBerthType->boundValue());
        if (chkOwner->isChecked())
            rows.setValue(QStringLiteral("OwnerID"), cboOwner->boundValue());
        rows.setValue(QStringLiteral("HasPower"), chkHasPower->isChecked());
        rows.setValue(QStringLiteral("Notes"), txtNotes->toPlainText());
        setNumber("DailyHireCharge", txtDailyHireCharge, BerthNumberKind::Money);
        setNumber("WeeklyHireCharge", txtWeeklyHireCharge, BerthNumberKind::Money);
        setNumber("MonthlyHireCharge", txtMonthlyHireCharge, BerthNumberKind::Money);
        rows.Update();
    } catch (...) {
        rows.CancelUpdate();
        throw;
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
        logOperation(evBerthModified, berthActivationDetails(name, active));
        m_berths->Requery();
        showCurrentBerth();
    } catch (const std::exception &failure) {
        reportFailure(QStringLiteral("frmBerth.cmdActivate_Click"), failure, kTitle,
                      QStringLiteral("The berth could not be changed."));
    }
}

void frmBerth::cmdRemove_Click()
{
    try {
        if (!m_berths)
            return;
        const QString entry = lstBerth->Text();
        const QVariant id = lstBerth->boundValue();
        if (!hasValue(id))
            return;
        if (DeleteBerth(id.toLongLong(), *m_berths))
            logOperation(evBerthDeleted, berthDeletedDetails(entry));
        showCurrentBerth();
    } catch (const std::exception &failure) {
        reportFailure(QStringLiteral("frmBerth.cmdRemove_Click"), failure, kTitle,
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
        reportFailure(QStringLiteral("frmBerth.Command2_Click"), failure, kTitle);
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
                           + describe(failure),
                       ui::vbExclamation, kTitle);
            startOver();
            return false;
        }
    }
    try {
        if (m_operationLog && m_operationLog->RecordCount() > 0) {
            m_operationLog->MoveFirst();
            while (!m_operationLog->isEOF()) {
                WriteEventLog(ui::Now(), m_operationLog->value(QStringLiteral("oper")).toInt(),
                              m_operationLog->value(QStringLiteral("descr")).toString());
                m_operationLog->MoveNext();
            }
        }
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
        reportFailure(QStringLiteral("frmBerth.Command1_Click"), failure, kTitle);
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
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    try {
        if (DbConnection && DbConnection->inTransaction())
            DbConnection->RollbackTrans();
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmBerth.cmdCancel_Click"), failure);
    }
}

void frmBerth::logOperation(int oper, const QString &descr)
{
    m_operationLog->AddNew();
    m_operationLog->setValue(QStringLiteral("oper"), oper);
    m_operationLog->setValue(QStringLiteral("descr"), descr);
    m_operationLog->Update();
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

bool frmBerth::checkNumbers()
{
    struct NumberBox {
        QLineEdit *box;
        const char *title;
        BerthNumberKind kind;
    };
    const NumberBox boxes[] = {
        {txtLength, "Berth length", BerthNumberKind::Measure},
        {txtWidth, "Berth width", BerthNumberKind::Measure},
        {txtDailyHireCharge, "Daily Hire Charge", BerthNumberKind::Money},
        {txtWeeklyHireCharge, "Weekly Hire Charge", BerthNumberKind::Money},
        {txtMonthlyHireCharge, "Monthly Hire Charge", BerthNumberKind::Money},
    };
    for (const NumberBox &entry : boxes) {
        if (!isValidBerthNumber(entry.box->text(), entry.kind)) {
            ui::MsgBox(QString::fromLatin1(kInvalidNumberMessage), ui::vbExclamation, QString::fromLatin1(entry.title));
            entry.box->setFocus();
            return false;
        }
    }
    return true;
}

void frmBerth::validateNumber(QLineEdit *box, const QString &title, bool money, bool &Cancel)
{
    if (isValidBerthNumber(box->text(), money ? BerthNumberKind::Money : BerthNumberKind::Measure))
        return;
    ui::MsgBox(QString::fromLatin1(kInvalidNumberMessage), ui::vbExclamation, title);
    Cancel = true;
}

void frmBerth::txtDailyHireCharge_Validate(bool &Cancel)
{
    validateNumber(txtDailyHireCharge, QStringLiteral("Daily Hire Charge"), true, Cancel);
}

void frmBerth::txtLength_Validate(bool &Cancel)
{
    validateNumber(txtLength, QStringLiteral("Berth length"), false, Cancel);
}

void frmBerth::txtMonthlyHireCharge_Validate(bool &Cancel)
{
    validateNumber(txtMonthlyHireCharge, QStringLiteral("Monthly Hire Charge"), true, Cancel);
}

void frmBerth::txtWeeklyHireCharge_Validate(bool &Cancel)
{
    validateNumber(txtWeeklyHireCharge, QStringLiteral("Weekly Hire Charge"), true, Cancel);
}

void frmBerth::txtWidth_Validate(bool &Cancel)
{
    validateNumber(txtWidth, QStringLiteral("Berth width"), false, Cancel);
}

bool frmBerth::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Form_KeyDown(13);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmBerth::Form_KeyDown(int KeyCode)
{
    if (KeyCode == 13)
        FocusNextControl(this);
}

void frmBerth::reportFailure(const QString &where, const std::exception &failure, const QString &title,
                             const QString &what)
{
    logError(where, failure);
    ui::MsgBox(what.isEmpty() ? describe(failure) : what + QLatin1Char('\n') + describe(failure), ui::vbExclamation,
               title);
}

} // namespace quorl
