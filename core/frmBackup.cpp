#include "core/frmBackup.h"

#include <algorithm>

#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QPushButton>

#include "core/ctlProgressBar.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Twips.h"

namespace quorl {

frmBackup::frmBackup(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("Database backup..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ctlProgressBar1 = new ctlProgressBar(this);
    ctlProgressBar1->setObjectName(QStringLiteral("ctlProgressBar1"));
    ctlProgressBar1->UserControl_InitProperties();
    ctlProgressBar1->setBarFont(QFont(QStringLiteral("Arial")));
    btnPrekid = new QPushButton(QStringLiteral("&Cancel"), this);
    btnPrekid->setObjectName(QStringLiteral("btnPrekid"));
    btnPrekid->setAutoDefault(false);
    connect(btnPrekid, &QPushButton::clicked, this, &frmBackup::btnPrekid_Click);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(ctlProgressBar1, 1);
    layout->addWidget(btnPrekid);
    resize(ui::twipsToPixels(5265), ui::twipsToPixels(1095));
    Form_Load();
}

void frmBackup::Form_Load()
{
    AbortRequested = false;
}

void frmBackup::btnPrekid_Click()
{
    AbortRequested = true;
}

bool frmBackup::CheckAbort()
{
    if (!AbortRequested)
        return false;
    if (ui::MsgBox(QStringLiteral("Do you really want to cancel current operation"), ui::vbYesNo | ui::vbQuestion,
                   QStringLiteral("Confirm"))
        == ui::vbYes)
        return true;
    AbortRequested = false;
    return false;
}

void frmBackup::beginStep(double from, double to)
{
    m_stepFrom = from;
    m_stepTo = to;
    ctlProgressBar1->setValue(from);
}

void frmBackup::showStepProgress(double done, double total)
{
    const double fraction = total > 0 ? std::clamp(done / total, 0.0, 1.0) : 1.0;
    ctlProgressBar1->setValue(m_stepFrom + fraction * (m_stepTo - m_stepFrom));
}

void frmBackup::reject()
{
    btnPrekid_Click();
}

void frmBackup::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous()) {
        btnPrekid_Click();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace quorl
