#include "masterdata/frmEditBerths.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "masterdata/BerthList.h"
#include "masterdata/DataSource.h"
#include "platform/ui/Adodc.h"
#include "platform/ui/BoundFields.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/Twips.h"

namespace quorl {

namespace {

const QString kRecordSource = QStringLiteral(
    "select ID,Name,Length,Width,HasPower,OwnerID,TypeID,Notes,Active,DailyHireCharge,MonthlyHireCharge,"
    "WeeklyHireCharge from Berth");
const QString kOwnerSource = QStringLiteral("SELECT Owner.* FROM Owner;");
const QString kTypeSource = QStringLiteral("SELECT BerthType.* FROM BerthType;");

QString arrayName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(name)).arg(index);
}

QLabel *fieldLabel(QWidget *parent, int index, const QString &caption, QWidget *buddy)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(arrayName("lblLabels", index));
    label->setBuddy(buddy);
    return label;
}

ui::Adodc *listControl(QWidget *parent, const char *name, const QString &recordSource)
{
    auto *control = new ui::Adodc(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setConnectionString(connectionToDatabaseInUse());
    control->setRecordSource(recordSource);
    control->setVisible(false);
    return control;
}

} // namespace

frmEditBerths::frmEditBerths(QWidget *parent)
    : BoundRecordForm(parent, QStringLiteral("Edit Berths"), kRecordSource, QSize(7425, 4950))
{
    setObjectName(QStringLiteral("frmEditBerths"));
    Adodc1 = listControl(this, "Adodc1", kOwnerSource);
    Adodc2 = listControl(this, "Adodc2", kTypeSource);
    buildControls();
    Form_Load();
}

frmEditBerths::~frmEditBerths() = default;

void frmEditBerths::buildControls()
{
    m_bound = new ui::BoundFields(datPrimaryRS, this);
    auto *grid = new QGridLayout;

    struct TextField {
        int index;
        const char *caption;
        const char *column;
    };
    auto addText = [&](const TextField &field, int row) {
        auto *box = new QLineEdit(this);
        box->setObjectName(arrayName("txtFields", field.index));
        txtFields[field.index] = box;
        grid->addWidget(fieldLabel(this, field.index, QString::fromLatin1(field.caption), box), row, 0);
        grid->addWidget(box, row, 1);
        m_bound->bind(box, QString::fromLatin1(field.column));
    };
    auto addCheck = [&](int index, const char *caption, const char *column, int row) {
        auto *box = new QCheckBox(this);
        box->setObjectName(arrayName("chkFields", index));
        chkFields[index] = box;
        grid->addWidget(fieldLabel(this, index, QString::fromLatin1(caption), box), row, 0);
        grid->addWidget(box, row, 1);
        m_bound->bind(box, QString::fromLatin1(column));
    };
    auto addCombo = [&](ui::DataCombo *&combo, const char *name, int index, const char *caption,
                        const char *listField, const char *column, int row) {
        combo = new ui::DataCombo(this);
        combo->setObjectName(QString::fromLatin1(name));
        combo->setListField(QString::fromLatin1(listField));
        combo->setBoundColumn(QStringLiteral("ID"));
        grid->addWidget(fieldLabel(this, index, QString::fromLatin1(caption), combo), row, 0);
        grid->addWidget(combo, row, 1);
        m_bound->bind(combo, QString::fromLatin1(column));
    };

    addText({0, "ID:", "ID"}, 0);
    addText({1, "Name:", "Name"}, 1);
    addText({2, "Length:", "Length"}, 2);
    addText({3, "Width:", "Width"}, 3);
    addCheck(4, "HasPower:", "HasPower", 4);
    addCombo(DataCombo1, "DataCombo1", 5, "OwnerID:", "Name", "OwnerID", 5);
    addCombo(DataCombo2, "DataCombo2", 6, "TypeID:", "Type", "TypeID", 6);

    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(arrayName("txtFields", 7));
    txtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNotes->setTabChangesFocus(true);
    txtNotes->setFixedHeight(ui::twipsToPixels(900));
    grid->addWidget(fieldLabel(this, 7, QStringLiteral("Notes:"), txtNotes), 7, 0, Qt::AlignTop);
    grid->addWidget(txtNotes, 7, 1);
    m_bound->bind(txtNotes, QStringLiteral("Notes"));

    addCheck(8, "Active:", "Active", 8);
    addText({9, "DailyHireCharge:", "DailyHireCharge"}, 9);
    addText({10, "MonthlyHireCharge:", "MonthlyHireCharge"}, 10);
    addText({11, "WeeklyHireCharge:", "WeeklyHireCharge"}, 11);
    grid->setColumnStretch(1, 1);

    // Sizes and charges read as the berth dialog reads them, so both take the same texts.
    auto readAs = [this](int index, BerthNumberKind kind) {
        m_bound->setTextReader(txtFields[index], [kind](const QString &text) -> std::optional<QVariant> {
            if (const std::optional<double> number = readBerthNumber(text, kind))
                return QVariant(*number);
            return std::nullopt;
        });
    };
    readAs(2, BerthNumberKind::Measure);
    readAs(3, BerthNumberKind::Measure);
    for (const int charge : {9, 10, 11})
        readAs(charge, BerthNumberKind::Money);

    setFieldsLayout(grid);
}

void frmEditBerths::openLists()
{
    // The combos must hold their rows before the first berth shows its owner and type.
    Adodc1->open();
    Adodc2->open();
    DataCombo1->setRowSource(Adodc1->Recordset());
    DataCombo2->setRowSource(Adodc2->Recordset());
}

void frmEditBerths::closeLists()
{
    DataCombo1->setRowSource(nullptr);
    DataCombo2->setRowSource(nullptr);
    Adodc1->close();
    Adodc2->close();
}

} // namespace quorl
