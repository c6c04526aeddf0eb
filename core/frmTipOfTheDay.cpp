#include "core/frmTipOfTheDay.h"

#include <exception>

#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "core/ProductLogo.h"
#include "core/ProgramSettings.h"
#include "core/RegistryValues.h"
#include "core/modMessageLog.h"
#include "platform/paths/Paths.h"
#include "platform/text/Text.h"
#include "platform/ui/Twips.h"

namespace quorl {

namespace {

const QString kCaption = QStringLiteral("Tip of the Day");

} // namespace

QString tipsFilePath()
{
    return paths::resolve(paths::joinWindows(paths::programFolder(), QStringLiteral("TipOfTheDay.txt")));
}

QStringList readTips(const QString &localPath)
{
    if (!QFileInfo(localPath).isFile())
        return {};
    bool ok = false;
    QString text = text::readAnsiFile(localPath, &ok);
    if (!ok || text.isEmpty())
        return {};
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

int tipPosition(const QString &storedNextTip, int tipCount)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^\\s*\\d{1,9}\\s*$"));
    if (!wholeNumber.match(storedNextTip).hasMatch())
        return 0;
    const int position = storedNextTip.trimmed().toInt();
    return position < tipCount ? position : 0;
}

int positionAfter(int position, int tipCount)
{
    return position < tipCount - 1 ? position + 1 : 0;
}

bool tipShownAtStartup()
{
    return settingNumber(programSetting(kValueShowTipAtStartup, kDefaultShowTipAtStartup)) == 0;
}

frmTipOfTheDay::frmTipOfTheDay(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmTipOfTheDay"));
    setWindowTitle(kCaption);
    setModal(true);

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::StyledPanel);
    Picture1->setAutoFillBackground(true);
    QPalette paper = Picture1->palette();
    paper.setColor(QPalette::Window, Qt::white);
    Picture1->setPalette(paper);

    auto *picture = new QLabel(Picture1);
    picture->setPixmap(productLogo().scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Label1 = new QLabel(QStringLiteral("Did you know ..."), Picture1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading(QStringLiteral("Times New Roman"));
    heading.setPointSize(18);
    Label1->setFont(heading);
    txtTip = new QPlainTextEdit(Picture1);
    txtTip->setObjectName(QStringLiteral("txtTip"));
    txtTip->setReadOnly(true);
    txtTip->setFrameShape(QFrame::NoFrame);
    txtTip->setTabChangesFocus(true);
    txtTip->setPalette(paper);

    auto *headingLine = new QHBoxLayout;
    headingLine->addWidget(picture);
    headingLine->addWidget(Label1, 1);
    auto *paperLayout = new QVBoxLayout(Picture1);
    paperLayout->addLayout(headingLine);
    paperLayout->addWidget(txtTip, 1);

    chkShowTipsAtStartup = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    chkShowTipsAtStartup->setObjectName(QStringLiteral("chkShowTipsAtStartup"));
    cmdNextTip = new QPushButton(QStringLiteral("&Next Tip"), this);
    cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    cmdNextTip->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdNextTip);
    buttons->addStretch(1);
    auto *body = new QHBoxLayout;
    body->addWidget(Picture1, 1);
    body->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(chkShowTipsAtStartup);
    setFixedSize(ui::twipsToPixels(6600), ui::twipsToPixels(3900));

    connect(cmdNextTip, &QPushButton::clicked, this, &frmTipOfTheDay::cmdNextTip_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTipOfTheDay::cmdOK_Click);
}

void frmTipOfTheDay::Dispaly()
{
    prepare();
    exec();
}

void frmTipOfTheDay::prepare()
{
    ShowNextTip();
    try {
        const bool shown = settingNumber(programSetting(kValueShowTipAtStartup, kDefaultShowTipAtStartup)) == 0;
        chkShowTipsAtStartup->setChecked(shown);
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmTipOfTheDay.Dispaly"), failure);
    }
}

QString frmTipOfTheDay::tipText() const
{
    return txtTip->toPlainText();
}

bool frmTipOfTheDay::ShowNextTip()
{
    try {
        // The file is read afresh for every tip, so a tips file changed while the
        // program runs is seen at once.
        const QStringList tips = readTips(tipsFilePath());
        if (tips.isEmpty()) {
            logError(QStringLiteral("frmTipOfTheDay.ShowNextTip"),
                     QStringLiteral("No tip could be read from ") + tipsFilePath());
            txtTip->clear();
            return false;
        }
        const int count = int(tips.size());
        const int position = tipPosition(programSetting(kValueNextTip, kDefaultNextTip), count);
        txtTip->setPlainText(tips.at(position));
        setProgramSetting(kValueNextTip, QString::number(positionAfter(position, count)));
        return true;
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmTipOfTheDay.ShowNextTip"), failure);
        txtTip->clear();
        return false;
    }
}

void frmTipOfTheDay::cmdNextTip_Click()
{
    // Without a tips file there is nothing to step through: the window closes.
    if (!ShowNextTip())
        reject();
}

void frmTipOfTheDay::cmdOK_Click()
{
    try {
        setProgramSetting(kValueShowTipAtStartup,
                          chkShowTipsAtStartup->isChecked() ? QStringLiteral("0") : QStringLiteral("1"));
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmTipOfTheDay.cmdOK_Click"), failure);
    }
    accept();
}

void showTipAtStartup(QWidget *mainWindow)
{
    auto *tip = new frmTipOfTheDay(mainWindow);
    tip->setAttribute(Qt::WA_DeleteOnClose);
    tip->prepare();
    tip->open();
}

} // namespace quorl
