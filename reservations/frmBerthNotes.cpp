#include "reservations/frmBerthNotes.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "masterdata/ContactForms.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DataCombo.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TextBoxes.h"

namespace quorl {
namespace {

const QString kTitle = QStringLiteral("Berth  Notes");

QString routine(const char *handler)
{
    return QStringLiteral("frmBerthNotes.") + QLatin1String(handler);
}

QString noteText(const QVariant &value)
{
    return value.isValid() && !value.isNull() ? value.toString() : QString();
}

} // namespace

frmBerthNotes::frmBerthNotes(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBerthNotes"));
    setWindowTitle(kTitle);
    buildControls();
}

frmBerthNotes::~frmBerthNotes()
{
    rollBack();
    cboName->setRowSource(nullptr);
}

void frmBerthNotes::buildControls()
{
    Label1 = new QLabel(QStringLiteral("Add notes to berths."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Available berths:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    cboName = new ui::DataCombo(this);
    cboName->setObjectName(QStringLiteral("cboName"));
    Label2->setBuddy(cboName);
    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setAccessibleName(QStringLiteral("Notes"));
    txtNotes->setTabChangesFocus(true);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton *button : {cmdOK, cmdCancel}) {
        // Enter moves the focus; it never presses a button by default.
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 2);
    layout->addWidget(Label2, 1, 0);
    layout->addWidget(cboName, 1, 1);
    layout->addWidget(txtNotes, 2, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    resize(420, 300);

    setTabOrder(cboName, txtNotes);
    setTabOrder(txtNotes, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(cboName, &ui::DataCombo::Click, this, &frmBerthNotes::cboName_Click);
    connect(txtNotes, &QPlainTextEdit::textChanged, this, &frmBerthNotes::txtNotes_Change);
    connect(cmdOK, &QPushButton::clicked, this, &frmBerthNotes::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBerthNotes::cmdCancel_Click);
    // The form sees the Enter key before its controls do.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    txtNotes->setEnabled(false);
}

void frmBerthNotes::Display()
{
    if (!prepare())
        return;
    exec();
}

bool frmBerthNotes::prepare()
{
    try {
        if (!DbConnection || !DbConnection->isOpen())
            throw db::Error(QStringLiteral("No database connection is open."));
        rollBack();
        auto opened = [](bool readOnly) {
            auto rows = OpenRecordset(QStringLiteral("Berth"), nullptr, readOnly, db::adCmdTableDirect);
            if (!rows->isOpen())
                throw db::Error(rows->lastError());
            return rows;
        };
        auto notes = opened(false);
        auto berths = opened(true);
        cboName->setRowSource(berths.get());
        m_berths = std::move(berths);
        m_notes = std::move(notes);
        cboName->setListField(QStringLiteral("Name"));
        cboName->setBoundColumn(QStringLiteral("ID"));
        m_typed.clear();
        DbConnection->BeginTrans();
        m_inTransaction = true;
        cboName_Click();
        return true;
    } catch (const std::exception &error) {
        logError(routine("Display"), error);
        ui::MsgBox(userErrorText(error), ui::vbExclamation, kTitle);
        return false;
    }
}

QString frmBerthNotes::storedNote() const
{
    if (!m_notes || m_notes->isEOF() || m_notes->isBOF())
        return QString();
    return noteText(m_notes->value(QStringLiteral("Notes")));
}

void frmBerthNotes::cboName_Click()
{
    try {
        m_currentBerth = 0;
        if (m_notes && m_notes->RecordCount() > 0) {
            m_notes->MoveFirst();
            const QString id = cboName->BoundText();
            if (!id.isEmpty()) {
                m_notes->Find(QStringLiteral("ID = ") + db::sqlNumber(id.toLongLong()));
                if (!m_notes->isEOF())
                    m_currentBerth = id.toLongLong();
            } else {
                m_notes->MovePrevious();
            }
        }
        const QSignalBlocker quiet(txtNotes);
        m_showing = true;
        txtNotes->setPlainText(m_typed.contains(m_currentBerth) ? m_typed.value(m_currentBerth) : storedNote());
        m_showing = false;
        // No berth chosen, nothing to write into.
        txtNotes->setEnabled(m_currentBerth != 0);
    } catch (const std::exception &error) {
        m_showing = false;
        logError(routine("cboName_Click"), error);
    }
}

void frmBerthNotes::txtNotes_Change()
{
    if (m_showing || m_currentBerth == 0)
        return;
    m_typed.insert(m_currentBerth, ui::storedText(txtNotes));
}

void frmBerthNotes::saveNotes()
{
    for (auto typed = m_typed.cbegin(); typed != m_typed.cend(); ++typed) {
        m_notes->MoveFirst();
        m_notes->Find(QStringLiteral("ID = ") + db::sqlNumber(typed.key()));
        // A berth deleted meanwhile has no note to keep.
        if (m_notes->isEOF() || noteText(m_notes->value(QStringLiteral("Notes"))) == typed.value())
            continue;
        m_notes->setValue(QStringLiteral("Notes"), typed.value().isEmpty() ? QVariant() : QVariant(typed.value()));
        m_notes->Update();
    }
    DbConnection->CommitTrans();
    m_inTransaction = false;
}

void frmBerthNotes::cmdOK_Click()
{
    try {
        if (!m_inTransaction) {
            DbConnection->BeginTrans();
            m_inTransaction = true;
        }
        saveNotes();
    } catch (const std::exception &error) {
        logError(routine("cmdOK_Click"), error);
        rollBack();
        ui::MsgBox(QStringLiteral("The notes could not be saved; nothing was changed.\n\n") + userErrorText(error)
                       + QStringLiteral("\n\nPress OK to try again, or Cancel."),
                   ui::vbExclamation, kTitle);
        try {
            // The rows read again hold what the database holds; the typed notes stay.
            if (m_notes->EditMode() != db::adEditNone)
                m_notes->CancelUpdate();
            DbConnection->BeginTrans();
            m_inTransaction = true;
            m_notes->Requery();
            cboName_Click();
        } catch (const std::exception &again) {
            logError(routine("cmdOK_Click"), again);
        }
        return;
    }
    try {
        WriteEventLog(ui::Now(), evBerthModified, QStringLiteral("Notes modified"));
    } catch (const std::exception &error) {
        logError(routine("cmdOK_Click"), error);
    }
    m_typed.clear();
    QDialog::accept();
}

void frmBerthNotes::cmdCancel_Click()
{
    rollBack();
    m_typed.clear();
    QDialog::reject();
}

void frmBerthNotes::reject()
{
    cmdCancel_Click();
}

void frmBerthNotes::rollBack()
{
    rollBackTransaction(m_inTransaction, routine("cmdCancel_Click"));
}

bool frmBerthNotes::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnterKey(event))
        return takeEnterKey(routine("Form_KeyDown"), [this] { FocusNextControl(this); });
    return QDialog::eventFilter(watched, event);
}

} // namespace quorl
