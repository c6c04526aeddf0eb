#include "masterdata/frmWizardConfig.h"

#include <exception>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/MDIMain.h"
#include "core/ProductLogo.h"
#include "core/ProgramSettings.h"
#include "core/RegistryValues.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/BerthList.h"
#include "masterdata/ContactForms.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WizardPages.h"

namespace quorl {

namespace {

enum Step { kWelcomeStep = 0, kRegionalStep = 1, kBerthStep = 2, kFinishedStep = 3 };

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setAutoDefault(false);
    return result;
}

QLabel *caption(QWidget *parent, const QString &text, QWidget *buddy = nullptr)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    label->setWordWrap(buddy == nullptr);
    return label;
}

// The page's picture on its left, its texts and controls on the right.
QVBoxLayout *pageBody(QWidget *page)
{
    auto *imgStep = new QLabel(page);
    imgStep->setObjectName(QStringLiteral("imgStep"));
    imgStep->setPixmap(productLogo());
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(imgStep, 0, Qt::AlignTop);
    auto *body = new QVBoxLayout;
    layout->addLayout(body, 1);
    return body;
}

} // namespace

frmWizardConfig::frmWizardConfig(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmWizardConfig"));
    setModal(true);
    buildControls();
}

frmWizardConfig::~frmWizardConfig()
{
    rollBack();
}

void frmWizardConfig::buildControls()
{
    m_stack = new QStackedWidget(this);
    cmdBack = button(this, "cmdBack", QStringLiteral("&Back"));
    cmdNext = button(this, "cmdNext", QStringLiteral("&Next"));
    cmdCancel = button(this, "cmdCancel", QStringLiteral("Cancel"));
    fraStep = new ui::WizardPages(m_stack, this, cmdBack, cmdNext);

    QVBoxLayout *welcome = pageBody(fraStep->addPage(QStringLiteral("Configuration Wizard")));
    auto *heading = new QLabel(QStringLiteral("Welcome to the Configuration Wizard"), fraStep->page(kWelcomeStep));
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    heading->setFont(bold);
    welcome->addWidget(heading);
    welcome->addWidget(caption(fraStep->page(kWelcomeStep),
                               QStringLiteral("Usin this wizard you can configure your reservation information.")));
    welcome->addWidget(caption(fraStep->page(kWelcomeStep), QStringLiteral("To contionue, click Next.")));
    welcome->addStretch(1);
    chkWelcome = new QCheckBox(QStringLiteral("Display this welcome screen at startup"), fraStep->page(kWelcomeStep));
    chkWelcome->setObjectName(QStringLiteral("chkWelcome"));
    welcome->addWidget(chkWelcome);

    QWidget *regionalPage = fraStep->addPage(QStringLiteral("Enter Your Regional Information"));
    QVBoxLayout *regional = pageBody(regionalPage);
    regional->addWidget(caption(regionalPage, QStringLiteral("Enter your regional information")));
    cboPostCode = new QComboBox(regionalPage);
    cboPostCode->setObjectName(QStringLiteral("cboPostCode"));
    cboPostCode->addItems({QStringLiteral("Post Code"), QStringLiteral("Zip Code")});
    auto *postCodeLine = new QHBoxLayout;
    postCodeLine->addWidget(caption(regionalPage, QStringLiteral("Post Code / Zip Code:"), cboPostCode));
    postCodeLine->addWidget(cboPostCode);
    postCodeLine->addStretch(1);
    regional->addLayout(postCodeLine);
    regional->addStretch(1);

    QWidget *berthPage = fraStep->addPage(QStringLiteral("Enter Your Room Information"));
    buildBerthPage(berthPage);

    QWidget *finishedPage = fraStep->addPage(QStringLiteral("Finished"));
    QVBoxLayout *finished = pageBody(finishedPage);
    finished->addWidget(caption(finishedPage, QStringLiteral("Click Finish to complete your configuration")));
    finished->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdNext);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_stack, 1);
    layout->addLayout(buttons);
    const QSize client(ui::twipsToPixels(8025), ui::twipsToPixels(4785));
    setFixedSize(client.expandedTo(layout->sizeHint()));

    const QList<QWidget *> tabOrder{chkWelcome, cboPostCode, txtName, txtLength, txtWidth, cboBerthType,
                                    chkHasPower, chkOwner, cboOwner, txtDailyHireCharge, txtWeeklyHireCharge,
                                    txtMonthlyHireCharge, txtNotes, cmdAdd, lstBerth, cmdRemove,
                                    cmdBack, cmdNext, cmdCancel};
    for (int index = 0; index < tabOrder.size(); ++index) {
        setTabIndex(tabOrder[index], index);
        if (index > 0)
            setTabOrder(tabOrder[index - 1], tabOrder[index]);
    }

    connect(cmdNext, &QPushButton::clicked, this, &frmWizardConfig::cmdNext_Click);
    connect(cmdBack, &QPushButton::clicked, this, &frmWizardConfig::cmdBack_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmWizardConfig::cmdCancel_Click);
    connect(chkOwner, &QCheckBox::clicked, this, &frmWizardConfig::chkOwner_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmWizardConfig::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmWizardConfig::cmdRemove_Click);

    installBerthNumberChecks(this);

    // The form sees the Enter key before its controls do.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

QWidget *frmWizardConfig::buildBerthPage(QWidget *page)
{
    QVBoxLayout *body = pageBody(page);
    body->addWidget(caption(
        page, QStringLiteral("Enter your Berth information. For each berth / slip enter it`s details and then click Add.")));

    buildBerthControls(page);
    berthListLayout->addWidget(cmdRemove, 0, Qt::AlignRight);

    auto *columns = new QHBoxLayout;
    columns->addLayout(berthFieldsLayout, 1);
    columns->addLayout(berthListLayout, 1);
    body->addLayout(columns, 1);
    return page;
}

void frmWizardConfig::Display()
{
    if (!prepare())
        return;
    exec();
}

bool frmWizardConfig::prepare()
{
    try {
        if (!DbConnection || !DbConnection->isOpen())
            throw db::Error(QStringLiteral("No database connection is open."));
        rollBack();

        auto operationLog = newOperationLog();
        auto opened = [](const QString &table) {
            auto rows = OpenRecordset(table, nullptr, false, db::adCmdTableDirect);
            if (!rows->isOpen())
                throw db::Error(rows->lastError());
            return rows;
        };
        auto berths = opened(QStringLiteral("Berth"));
        berths->setSort(QStringLiteral("NAME"));
        auto types = opened(QStringLiteral("BerthType"));
        auto owners = opened(QStringLiteral("Owner"));

        // The lists take the new rows before the old recordsets go.
        m_operationLog = std::move(operationLog);
        std::swap(m_berths, berths);
        std::swap(m_types, types);
        std::swap(m_owners, owners);
        clearBerthEntry();
        BindControls();

        // Only 0 and 1 are ever stored; anything else is no choice.
        const int postCode = settingNumber(programSetting(kValuePostCode, kDefaultPostCodeWizard));
        cboPostCode->setCurrentIndex(postCode == 0 || postCode == 1 ? postCode : -1);

        m_welcomeFlag = settingNumber(programSetting(kValueConfigurationWelcomeScreen, kDefaultWelcomeScreen)) == 1;
        m_step = m_welcomeFlag ? kRegionalStep : kWelcomeStep;
        chkWelcome->setChecked(!m_welcomeFlag);
        ShowStep();

        DbConnection->BeginTrans();
        m_inTransaction = true;
        return true;
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmWizardConfig.Display"), failure, QStringLiteral("Configuration Wizard"));
        return false;
    }
}

int frmWizardConfig::CurrentStep() const
{
    return m_step;
}

void frmWizardConfig::BindControls()
{
    bindBerthControls(m_types.get(), m_owners.get(), m_berths.get(), QStringLiteral("Name"));
}

void frmWizardConfig::ClearFields()
{
    clearBerthFields();
}

void frmWizardConfig::ShowStep()
{
    fraStep->showStep(m_step);
}

void frmWizardConfig::cmdNext_Click()
{
    try {
        if (m_step == kRegionalStep && cboPostCode->currentIndex() < 0) {
            ui::MsgBox(QStringLiteral("Please select Post Code or Zip Code"), ui::vbExclamation, windowTitle());
            cboPostCode->setFocus();
            return;
        }
        if (m_step < kFinishedStep) {
            ++m_step;
            ShowStep();
            return;
        }
        FinishWizard();
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmWizardConfig.cmdNext_Click"), failure, windowTitle());
    }
}

void frmWizardConfig::cmdBack_Click()
{
    if (m_step > kWelcomeStep) {
        --m_step;
        ShowStep();
    }
}

void frmWizardConfig::FinishWizard()
{
    // The berths are committed first: settings that speak of a configuration the
    // database refused would be worse than none.
    if (m_inTransaction) {
        try {
            DbConnection->CommitTrans();
            m_inTransaction = false;
        } catch (const std::exception &failure) {
            rollBack();
            logError(QStringLiteral("frmWizardConfig.FinishWizard"), failure);
            ui::MsgBox(QStringLiteral("The configuration could not be saved and has been undone.\n")
                           + userErrorText(failure),
                       ui::vbExclamation, windowTitle());
            startOver();
            return;
        }
    }
    try {
        // The box is ticked for a wizard that opens on its welcome page.
        if (chkWelcome->isChecked() == m_welcomeFlag)
            setProgramSetting(kValueConfigurationWelcomeScreen,
                              chkWelcome->isChecked() ? QStringLiteral("0") : QStringLiteral("1"));
        setProgramSetting(kValuePostCode, QString::number(cboPostCode->currentIndex()));
        WriteEventLog(ui::Now(), evRegionalSettingsModified, QStringLiteral("Code: ") + cboPostCode->currentText());
        writeOperationLog(*m_operationLog);
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmWizardConfig.FinishWizard"), failure);
    }
    QDialog::accept();
    try {
        if (MDIMain *main = MDIMain::current())
            main->refreshActiveChild();
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmWizardConfig.FinishWizard"), failure);
    }
}

void frmWizardConfig::startOver()
{
    try {
        m_operationLog = newOperationLog();
        m_berths->Requery();
        m_types->Requery();
        m_owners->Requery();
        DbConnection->BeginTrans();
        m_inTransaction = true;
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmWizardConfig.FinishWizard"), failure, windowTitle());
    }
}

void frmWizardConfig::cmdCancel_Click()
{
    reject();
}

void frmWizardConfig::reject()
{
    Form_Unload();
    QDialog::reject();
}

void frmWizardConfig::Form_Unload()
{
    rollBack();
}

void frmWizardConfig::rollBack()
{
    rollBackTransaction(m_inTransaction, QStringLiteral("frmWizardConfig.Form_Unload"));
}

void frmWizardConfig::chkOwner_Click()
{
    showOwnerChoice();
}

void frmWizardConfig::cmdAdd_Click()
{
    try {
        if (!m_berths)
            return;
        if (const std::optional<QString> name = addBerth(*m_berths, QStringLiteral("frmWizardConfig.cmdAdd_Click"))) {
            logOperation(*m_operationLog, evBerthAdded, berthAddedDetails(*name));
            ClearFields();
        }
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmWizardConfig.cmdAdd_Click"), failure,
                           QString::fromLatin1(kAddBerthTitle));
    }
}

void frmWizardConfig::cmdRemove_Click()
{
    try {
        if (m_berths)
            removeChosenBerth(*m_berths, *m_operationLog);
    } catch (const std::exception &failure) {
        reportBerthFailure(QStringLiteral("frmWizardConfig.cmdRemove_Click"), failure, windowTitle(),
                           QStringLiteral("The berth could not be deleted."));
    }
}

void frmWizardConfig::txtDailyHireCharge_Validate(bool &Cancel)
{
    validateBerthNumber(txtDailyHireCharge, Cancel);
}

void frmWizardConfig::txtLength_Validate(bool &Cancel)
{
    validateBerthNumber(txtLength, Cancel);
}

void frmWizardConfig::txtMonthlyHireCharge_Validate(bool &Cancel)
{
    validateBerthNumber(txtMonthlyHireCharge, Cancel);
}

void frmWizardConfig::txtWeeklyHireCharge_Validate(bool &Cancel)
{
    validateBerthNumber(txtWeeklyHireCharge, Cancel);
}

void frmWizardConfig::txtWidth_Validate(bool &Cancel)
{
    validateBerthNumber(txtWidth, Cancel);
}

bool frmWizardConfig::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnterKeyIn(this, watched, event)) {
        Form_KeyDown(13);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmWizardConfig::Form_KeyDown(int KeyCode)
{
    if (KeyCode != 13 || FocusNextControl(this))
        return;
    // Past the last control the focus wraps to tab index 0, the welcome page's box,
    // which only the welcome page shows; elsewhere it wraps to the first control of
    // the page in view.
    int beforeFirst = -1;
    FocusNextControl(beforeFirst, this);
}

} // namespace quorl
