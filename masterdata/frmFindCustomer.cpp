#include "masterdata/frmFindCustomer.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/ContactForms.h"
#include "masterdata/ContactRecord.h"
#include "masterdata/CustomerRecord.h"
#include "masterdata/CustomerSearch.h"
#include "masterdata/frmAddCustomer.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

namespace quorl {

namespace {

const QString kTitle = QStringLiteral("Find Customer");

QList<ui::GridColumn> resultColumns()
{
    return addressColumns()
        + QList<ui::GridColumn>{
            {QStringLiteral("TelNo"), QStringLiteral("Tel. No.")},
            {QStringLiteral("MobileNo"), QStringLiteral("Mobile No.")},
            {QStringLiteral("EmailAddress"), QStringLiteral("Email Address")},
            {QStringLiteral("ClubMember"), QStringLiteral("Club Member"), ui::yesNoText},
            {QStringLiteral("MembershipNo"), QStringLiteral("Membership No.")},
            {QStringLiteral("Notes"), QStringLiteral("Notes")},
        };
}

} // namespace

frmFindCustomer::frmFindCustomer(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmFindCustomer"));
    setWindowTitle(kTitle);
    setModal(true);
    setSizeGripEnabled(true);
    buildControls();
    Form_Load();
}

frmFindCustomer::~frmFindCustomer()
{
    grdCustomer->setDataSource(nullptr);
}

void frmFindCustomer::buildControls()
{
    auto *boxes = new QGridLayout;
    m_boxes = ContactBoxes(boxes, kCustomerFields);
    chkClubMember = new QCheckBox(QStringLiteral("Club Member"), this);
    chkClubMember->setObjectName(QStringLiteral("chkClubMember"));
    // Greyed at every opening (no condition); the user's clicks only tick and untick it.
    chkClubMember->setTristate(true);
    chkClubMember->setCheckState(Qt::PartiallyChecked);
    connect(chkClubMember, &QCheckBox::clicked, this, [this] {
        if (chkClubMember->checkState() != Qt::PartiallyChecked)
            chkClubMember->setTristate(false);
    });
    boxes->addWidget(chkClubMember, 10, 1);
    boxes->setColumnMinimumWidth(1, ui::twipsToPixels(4000));

    const auto makeButton = [this](const char *name, const QString &caption) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        // Enter moves the focus in this window; it never presses a button.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setMinimumWidth(ui::twipsToPixels(1875));
        return button;
    };
    cmdStart = makeButton("cmdStart", QStringLiteral("&Start Search"));
    cmdColse = makeButton("cmdColse", QStringLiteral("&Close"));
    cmdAddCustomer = makeButton("cmdAddCustomer", QStringLiteral("Add Customer"));
    cmdEditCustomer = makeButton("cmdEditCustomer", QStringLiteral("View/Edit Customer"));
    cmdDeleteCustomer = makeButton("cmdDeleteCustomer", QStringLiteral("Delete Customer"));

    auto *searchButtons = new QVBoxLayout;
    searchButtons->addWidget(cmdStart);
    searchButtons->addWidget(cmdColse);
    searchButtons->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(boxes, 1);
    top->addLayout(searchButtons);

    m_results = new QWidget(this);
    m_results->setObjectName(QStringLiteral("results"));
    grdCustomer = new ui::DataGrid(m_results);
    grdCustomer->setObjectName(QStringLiteral("grdCustomer"));
    grdCustomer->setColumns(resultColumns());
    cmdAddCustomer->setParent(m_results);
    cmdEditCustomer->setParent(m_results);
    cmdDeleteCustomer->setParent(m_results);
    lblMatches = new QLabel(QStringLiteral("Total customer matches:"), m_results);
    lblMatches->setObjectName(QStringLiteral("lblMatches"));
    lblTotalMatches = new QLabel(QStringLiteral("0"), m_results);
    lblTotalMatches->setObjectName(QStringLiteral("lblTotalMatches"));
    lblMatches->setBuddy(grdCustomer);

    auto *matches = new QHBoxLayout;
    matches->addWidget(lblMatches);
    matches->addWidget(lblTotalMatches);
    matches->addStretch();
    auto *gridColumn = new QVBoxLayout;
    gridColumn->addWidget(grdCustomer, 1);
    gridColumn->addLayout(matches);
    auto *resultButtons = new QVBoxLayout;
    resultButtons->addWidget(cmdAddCustomer);
    resultButtons->addWidget(cmdEditCustomer);
    resultButtons->addWidget(cmdDeleteCustomer);
    resultButtons->addStretch();
    auto *results = new QHBoxLayout(m_results);
    results->setContentsMargins(0, 0, 0, 0);
    results->addLayout(gridColumn, 1);
    results->addLayout(resultButtons);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_results, 1);

    connect(cmdStart, &QPushButton::clicked, this, &frmFindCustomer::cmdStart_Click);
    connect(cmdColse, &QPushButton::clicked, this, &frmFindCustomer::cmdColse_Click);
    connect(cmdAddCustomer, &QPushButton::clicked, this, &frmFindCustomer::cmdAddCustomer_Click);
    connect(cmdEditCustomer, &QPushButton::clicked, this, &frmFindCustomer::cmdEditCustomer_Click);
    connect(cmdDeleteCustomer, &QPushButton::clicked, this, &frmFindCustomer::cmdDeleteCustomer_Click);

    QList<QWidget *> order(m_boxes.boxes().begin(), m_boxes.boxes().end());
    order << chkClubMember << cmdStart << cmdColse << cmdAddCustomer << cmdEditCustomer << cmdDeleteCustomer
          << grdCustomer;
    arrangeTabOrder(order, -1, this);
}

void frmFindCustomer::Form_Load()
{
    guardHandler(QStringLiteral("frmFindCustomer.Form_Load"), kTitle, [this] {
        ResultRs = OpenRecordset(QString::fromLatin1(kCustomerListSql), nullptr, false);
        grdCustomer->setDataSource(ResultRs.get());
        grdCustomer->setColumnVisible(0, false);
        if (!ResultRs->isOpen())
            throw db::Error(ResultRs->lastError());
    });
    FirstSearch = true;
    applyLayoutState();
}

// Before the first search the window keeps its small size and the results stay out
// of sight; afterwards it is sizeable, no smaller than the size that shows the grid.
void frmFindCustomer::applyLayoutState()
{
    m_results->setVisible(!FirstSearch);
    if (FirstSearch) {
        const QSize hint = sizeHint();
        setFixedSize(qMax(ui::twipsToPixels(9000), hint.width()), hint.height());
        return;
    }
    const int minimumHeight = qMax(ui::twipsToPixels(7500), minimumSizeHint().height());
    setMinimumSize(qMax(ui::twipsToPixels(9000), minimumSizeHint().width()), minimumHeight);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (height() < minimumHeight)
        resize(width(), minimumHeight);
}

CustomerSearchBoxes frmFindCustomer::enteredBoxes() const
{
    CustomerSearchBoxes boxes;
    m_boxes.readAddress(boxes);
    boxes.TelNo = m_boxes.text("txtTelNo");
    boxes.MobileNo = m_boxes.text("txtMobileNo");
    boxes.EmailAddress = m_boxes.text("txtEmail");
    boxes.MembershipNo = m_boxes.text("txtMembershipNo");
    return boxes;
}

int frmFindCustomer::clubMemberState() const
{
    switch (chkClubMember->checkState()) {
    case Qt::Unchecked:
        return kClubUnticked;
    case Qt::Checked:
        return kClubTicked;
    default:
        return kClubGreyed;
    }
}

void frmFindCustomer::cmdStart_Click()
{
    try {
        if (!ResultRs || !ResultRs->isOpen())
            return;
        ResultRs->setFilter(QString());
        const QString filter = customerSearchFilter(enteredBoxes(), clubMemberState());
        if (filter.isEmpty())
            return;
        ResultRs->setFilter(filter);
        lblTotalMatches->setText(QString::number(ResultRs->RecordCount()));
        if (FirstSearch) {
            FirstSearch = false;
            applyLayoutState();
        } else if (height() < minimumHeight()) {
            resize(width(), minimumHeight());
        }
    } catch (const std::exception &error) {
        logError(QStringLiteral("frmFindCustomer.cmdStart_Click"), error);
        ui::MsgBox(QStringLiteral("The search could not be run:\n") + userErrorText(error), ui::vbExclamation, kTitle);
    }
}

void frmFindCustomer::cmdColse_Click()
{
    reject();
}

frmAddCustomer &frmFindCustomer::customerDialog()
{
    if (!m_customerDialog)
        m_customerDialog = new frmAddCustomer(this);
    return *m_customerDialog;
}

void frmFindCustomer::cmdAddCustomer_Click()
{
    guardHandler(QStringLiteral("frmFindCustomer.cmdAddCustomer_Click"), kTitle, [this] {
        // Written to the table only: the results show the new customer at the next opening.
        customerDialog().Display(1, 0);
    });
}

void frmFindCustomer::cmdEditCustomer_Click()
{
    guardHandler(QStringLiteral("frmFindCustomer.cmdEditCustomer_Click"), kTitle, [this] {
        if (standsOnRow(ResultRs.get()))
            customerDialog().Display(2, ResultRs->value(QStringLiteral("ID")).toLongLong());
    });
}

void frmFindCustomer::cmdDeleteCustomer_Click()
{
    guardHandler(QStringLiteral("frmFindCustomer.cmdDeleteCustomer_Click"), kTitle, [this] {
        if (!standsOnRow(ResultRs.get())
            || !currentRowStillExists(*ResultRs, QStringLiteral("Customer"), QStringLiteral("customer"), kTitle))
            return;
        // Taken before anything is deleted. The count keeps the search's number
        // until the next search.
        const QString details = deletedContactEventDetails(ResultRs->value(QStringLiteral("Name")),
                                                           ResultRs->value(QStringLiteral("HouseName")));
        if (DeleteCustomer(ResultRs->value(QStringLiteral("ID")).toLongLong(), *ResultRs))
            WriteEventLog(ui::Now(), evCustomerDeleted, details);
    });
}

void frmFindCustomer::Form_KeyDown(int KeyCode)
{
    if (KeyCode == 13)
        FocusNextControl(this);
}

bool frmFindCustomer::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnterKey(event))
        return takeEnterKey(QStringLiteral("frmFindCustomer.Form_KeyDown"), [this] { Form_KeyDown(13); });
    return QDialog::eventFilter(watched, event);
}

} // namespace quorl
