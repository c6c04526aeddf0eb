#include "core/frmCompact.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/ui/Twips.h"

namespace quorl {
namespace {

const char *const kInProgress = "Operation in progress";

} // namespace

frmCompact::frmCompact(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCompact"));
    setWindowTitle(QStringLiteral("Compacting & repairing database ..."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowCloseButtonHint, false);

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    QFont font(QStringLiteral("Tahoma"));
    font.setBold(true);
    lblInfo->setFont(font);
    lblInfo->setTextFormat(Qt::PlainText);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblInfo);
    resize(ui::twipsToPixels(5250), ui::twipsToPixels(555));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &frmCompact::Timer1_Timer);
}

frmCompact::~frmCompact()
{
    if (m_hourglass)
        QApplication::restoreOverrideCursor();
}

bool frmCompact::Execute()
{
    DotCount = 1;
    Timer1->setInterval(500);
    Timer1->start();
    if (!m_hourglass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_hourglass = true;
    }
    lblInfo->setText(QString::fromLatin1(kInProgress));
    setWindowModality(Qt::ApplicationModal);
    show();
    // On the screen before the compact starts, not at its first redraw.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
    return false;
}

void frmCompact::Timer1_Timer()
{
    Timer1->setInterval(100);
    lblInfo->setText(QString::fromLatin1(kInProgress) + QString(DotCount, QLatin1Char('.')));
    DotCount = qint16(DotCount + 1);
    if (DotCount == 4)
        DotCount = 1;
}

bool frmCompact::Destroy()
{
    Timer1->stop();
    hide();
    if (m_hourglass) {
        QApplication::restoreOverrideCursor();
        m_hourglass = false;
    }
    QApplication::processEvents();
    return false;
}

} // namespace quorl
