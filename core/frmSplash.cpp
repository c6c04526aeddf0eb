#include "core/frmSplash.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "core/ProductLogo.h"
#include "core/modFunctions.h"

namespace quorl {

frmSplash::frmSplash(QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setModal(false);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->installEventFilter(this);

    imgLogo = new QLabel(Frame1);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(productLogo());

    lblCompanyProduct = new QLabel(Frame1);
    lblCompanyProduct->setObjectName(QStringLiteral("lblCompanyProduct"));
    QFont productFont = lblCompanyProduct->font();
    productFont.setPointSize(18);
    productFont.setBold(true);
    lblCompanyProduct->setFont(productFont);

    lblVersion = new QLabel(Frame1);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    Label1 = new QLabel(QStringLiteral("Quorl Duzuruz  Reservation"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Version:  1.0.1"), Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    lblPlatform = new QLabel(QStringLiteral("98/2000/XP"), Frame1);
    lblPlatform->setObjectName(QStringLiteral("lblPlatform"));

    // The version follows the product caption on its line, as it did 300 twips after it.
    auto *titleLine = new QHBoxLayout;
    titleLine->addWidget(lblCompanyProduct);
    titleLine->addSpacing(20);
    titleLine->addWidget(lblVersion);
    titleLine->addStretch();

    auto *texts = new QVBoxLayout;
    texts->addLayout(titleLine);
    texts->addWidget(Label1);
    texts->addWidget(Label2);
    texts->addStretch();
    texts->addWidget(lblPlatform, 0, Qt::AlignRight);

    auto *frameLayout = new QHBoxLayout(Frame1);
    frameLayout->setContentsMargins(16, 16, 16, 16);
    frameLayout->addWidget(imgLogo, 0, Qt::AlignTop);
    frameLayout->addSpacing(16);
    frameLayout->addLayout(texts);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Frame1);
    setMinimumSize(480, 200);

    Form_Load();
}

void frmSplash::Form_Load()
{
    lblCompanyProduct->setText(ProductTitleForCaption());
    lblVersion->setText(VersionText());
}

void frmSplash::keyPressEvent(QKeyEvent *event)
{
    Q_UNUSED(event);
    Form_KeyPress();
}

bool frmSplash::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Frame1 && event->type() == QEvent::MouseButtonRelease)
        Frame1_Click();
    return QDialog::eventFilter(watched, event);
}

void frmSplash::Form_KeyPress()
{
    close();
}

void frmSplash::Frame1_Click()
{
    close();
}

} // namespace quorl
