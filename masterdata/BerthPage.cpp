#include "masterdata/BerthPage.h"

#include <array>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/BerthList.h"
#include "masterdata/ContactForms.h"
#include "platform/db/Recordset.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TextBoxes.h"
#include "platform/ui/Twips.h"

namespace quorl {

namespace {

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

} // namespace

void BerthPage::buildBerthControls(QWidget *parent)
{
    txtName = lineEdit(parent, "txtName");
    txtLength = lineEdit(parent, "txtLength");
    txtWidth = lineEdit(parent, "txtWidth");
    cboBerthType = new ui::DataCombo(parent);
    cboBerthType->setObjectName(QStringLiteral("cboBerthType"));
    chkHasPower = new QCheckBox(QStringLiteral("Power:"), parent);
    chkHasPower->setObjectName(QStringLiteral("chkHasPower"));
    chkOwner = new QCheckBox(QStringLiteral("Owner:"), parent);
    chkOwner->setObjectName(QStringLiteral("chkOwner"));
    chkOwner->setLayoutDirection(Qt::RightToLeft); // the caption stands left of the box
    cboOwner = new ui::DataCombo(parent);
    cboOwner->setObjectName(QStringLiteral("cboOwner"));
    txtNotes = new QPlainTextEdit(parent);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNotes->setTabChangesFocus(true);
    txtNotes->setFixedHeight(ui::twipsToPixels(700));

    berthFieldsLayout = new QGridLayout;
    berthFieldsLayout->addWidget(caption(parent, QStringLiteral("Berth:"), txtName), 0, 0);
    berthFieldsLayout->addWidget(txtName, 0, 1);
    berthFieldsLayout->addWidget(caption(parent, QStringLiteral("Length:"), txtLength), 1, 0);
    berthFieldsLayout->addWidget(txtLength, 1, 1);
    berthFieldsLayout->addWidget(caption(parent, QStringLiteral("Width:"), txtWidth), 2, 0);
    berthFieldsLayout->addWidget(txtWidth, 2, 1);
    berthFieldsLayout->addWidget(caption(parent, QStringLiteral("Type:"), cboBerthType), 3, 0);
    berthFieldsLayout->addWidget(cboBerthType, 3, 1);
    berthFieldsLayout->addWidget(chkHasPower, 4, 1);
    berthFieldsLayout->addWidget(chkOwner, 5, 0);
    berthFieldsLayout->addWidget(cboOwner, 5, 1);

    fraHireCharges = new QGroupBox(QStringLiteral("Hire charges"), parent);
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
    berthFieldsLayout->addWidget(fraHireCharges, 6, 0, 1, 2);
    berthFieldsLayout->addWidget(caption(parent, QStringLiteral("Notes:"), txtNotes), 7, 0, Qt::AlignTop);
    berthFieldsLayout->addWidget(txtNotes, 7, 1);
    cmdAdd = button(parent, "cmdAdd", QStringLiteral("&Add"));
    berthFieldsLayout->addWidget(cmdAdd, 8, 1, Qt::AlignRight);

    lstBerth = new ui::DataList(parent);
    lstBerth->setObjectName(QStringLiteral("lstBerth"));
    cmdRemove = button(parent, "cmdRemove", QStringLiteral("&Remove"));
    berthListLayout = new QVBoxLayout;
    berthListLayout->addWidget(caption(parent, QStringLiteral("Available berths:"), lstBerth));
    berthListLayout->addWidget(lstBerth, 1);
}

void BerthPage::bindBerthControls(db::Recordset *types, db::Recordset *owners, db::Recordset *berths,
                                  const QString &listField)
{
    cboBerthType->setListField(QStringLiteral("Type"));
    cboBerthType->setBoundColumn(QStringLiteral("ID"));
    cboBerthType->setRowSource(types);
    cboOwner->setListField(QStringLiteral("Name"));
    cboOwner->setBoundColumn(QStringLiteral("ID"));
    cboOwner->setRowSource(owners);
    cboOwner->setEnabled(chkOwner->isChecked());
    lstBerth->setListField(listField);
    lstBerth->setBoundColumn(QStringLiteral("ID"));
    lstBerth->setRowSource(berths);
    cboBerthType->setCurrentIndex(-1);
    cboOwner->setCurrentIndex(-1);
}

void BerthPage::clearBerthEntry()
{
    for (QLineEdit *box : {txtName, txtLength, txtWidth, txtDailyHireCharge, txtWeeklyHireCharge, txtMonthlyHireCharge})
        box->clear();
    txtNotes->clear();
    chkOwner->setChecked(false);
    chkHasPower->setChecked(false);
}

void BerthPage::clearBerthFields()
{
    for (QLineEdit *box : {txtName, txtLength, txtWidth, txtDailyHireCharge, txtWeeklyHireCharge, txtMonthlyHireCharge})
        box->clear();
    cboBerthType->setText(QString());
    cboOwner->setText(QString());
}

void BerthPage::showOwnerChoice()
{
    cboOwner->setEnabled(chkOwner->isChecked());
}

std::optional<QString> BerthPage::addBerth(db::Recordset &berths, const QString &where)
{
    const QString title = QString::fromLatin1(kAddBerthTitle);
    const QString name = txtName->text().trimmed();
    if (name.isEmpty()) {
        ui::MsgBox(QString::fromLatin1(kNoBerthNameMessage), ui::vbExclamation, title);
        txtName->setFocus();
        return std::nullopt;
    }
    if (chkOwner->isChecked() && !hasValue(cboOwner->boundValue())) {
        ui::MsgBox(QString::fromLatin1(kNoOwnerMessage), ui::vbExclamation, title);
        cboOwner->setFocus();
        return std::nullopt;
    }
    if (!hasValue(cboBerthType->boundValue())) {
        ui::MsgBox(QString::fromLatin1(kNoBerthTypeMessage), ui::vbExclamation, title);
        cboBerthType->setFocus();
        return std::nullopt;
    }
    // The boxes are checked as they are left; text put there by other means is checked here.
    if (!checkBerthNumbers())
        return std::nullopt;
    try {
        saveNewBerth(berths, name);
    } catch (const std::exception &failure) {
        reportBerthFailure(where, failure, title, QStringLiteral("The berth could not be added."));
        return std::nullopt;
    }
    return name;
}

void BerthPage::saveNewBerth(db::Recordset &rows, const QString &name)
{
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
        rows.setValue(QStringLiteral("Notes"), ui::storedText(txtNotes));
        setNumber("DailyHireCharge", txtDailyHireCharge, BerthNumberKind::Money);
        setNumber("WeeklyHireCharge", txtWeeklyHireCharge, BerthNumberKind::Money);
        setNumber("MonthlyHireCharge", txtMonthlyHireCharge, BerthNumberKind::Money);
        rows.Update();
    } catch (...) {
        rows.CancelUpdate();
        throw;
    }
}

void BerthPage::removeChosenBerth(db::Recordset &berths, db::Recordset &operationLog)
{
    // The event names the berth as the list showed it.
    const QString entry = lstBerth->Text();
    const QVariant id = lstBerth->boundValue();
    if (!hasValue(id))
        return;
    if (DeleteBerth(id.toLongLong(), berths))
        logOperation(operationLog, evBerthDeleted, berthDeletedDetails(entry));
}

std::array<BerthPage::NumberBox, 5> BerthPage::numberBoxes() const
{
    return {{
        {txtLength, "Berth length", BerthNumberKind::Measure},
        {txtWidth, "Berth width", BerthNumberKind::Measure},
        {txtDailyHireCharge, "Daily Hire Charge", BerthNumberKind::Money},
        {txtWeeklyHireCharge, "Weekly Hire Charge", BerthNumberKind::Money},
        {txtMonthlyHireCharge, "Monthly Hire Charge", BerthNumberKind::Money},
    }};
}

bool BerthPage::checkBerthNumbers()
{
    for (const NumberBox &entry : numberBoxes()) {
        if (!isValidBerthNumber(entry.box->text(), entry.kind)) {
            ui::MsgBox(QString::fromLatin1(kInvalidNumberMessage), ui::vbExclamation, QString::fromLatin1(entry.title));
            entry.box->setFocus();
            return false;
        }
    }
    return true;
}

void BerthPage::validateBerthNumber(QLineEdit *box, bool &Cancel)
{
    for (const NumberBox &entry : numberBoxes()) {
        if (entry.box != box || isValidBerthNumber(box->text(), entry.kind))
            continue;
        ui::MsgBox(QString::fromLatin1(kInvalidNumberMessage), ui::vbExclamation, QString::fromLatin1(entry.title));
        Cancel = true;
        return;
    }
}

void reportBerthFailure(const QString &where, const std::exception &failure, const QString &title,
                        const QString &what)
{
    logError(where, failure);
    const QString text = userErrorText(failure);
    ui::MsgBox(what.isEmpty() ? text : what + QLatin1Char('\n') + text, ui::vbExclamation, title);
}

} // namespace quorl
