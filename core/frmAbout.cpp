#include "core/frmAbout.h"

#include <exception>

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/ProductLogo.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "platform/paths/Paths.h"
#include "platform/registry/Registry.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/Shell.h"

namespace quorl {

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &text = QString())
{
    auto *result = new QLabel(text, parent);
    result->setObjectName(QString::fromLatin1(name));
    return result;
}

} // namespace

bool GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal)
{
    // No text value can hold a NUL, so this default tells a missing value from a stored one.
    const QString missing(1, QChar(0));
    const QString value = GetRegistryValue(KeyRoot, KeyName, SubKeyRef, missing);
    if (value == missing) {
        KeyVal.clear();
        return false;
    }
    KeyVal = value;
    return true;
}

QString systemInfoProgram()
{
    QString path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kSysInfoPathKey), QString::fromUtf8(kSysInfoPathValue), path)
        && !path.trimmed().isEmpty())
        return path;
    QString folder;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kSysInfoFolderKey), QString::fromUtf8(kSysInfoFolderValue),
                    folder)
        && !folder.trimmed().isEmpty()) {
        const QString program = paths::resolve(paths::joinWindows(folder, QString::fromUtf8(kSysInfoProgramName)));
        if (QFileInfo(program).isFile())
            return program;
    }
    return QStandardPaths::findExecutable(QString::fromUtf8(kDesktopSysInfoProgram));
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);

    imgLogo = label(this, "imgLogo");
    imgLogo->setPixmap(productLogo());
    Label5 = label(this, "Label5", QStringLiteral("Quorl Duzuruz Reservation"));
    QFont heading = Label5->font();
    heading.setBold(true);
    heading.setPointSize(heading.pointSize() + 2);
    Label5->setFont(heading);
    Label3 = label(this, "Label3", QStringLiteral("The fully flexible and easy to use reservation system"));
    lblCompanyProduct = label(this, "lblCompanyProduct");
    lblVersion = label(this, "lblVersion");
    Label6 = label(this, "Label6", QStringLiteral("Version: 1.0.1"));
    lblPlatform = label(this, "lblPlatform", QStringLiteral("98/2000/XP"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSystemInfo = new QPushButton(QStringLiteral("&System Info ..."), this);
    cmdSystemInfo->setObjectName(QStringLiteral("cmdSystemInfo"));
    cmdSystemInfo->setAutoDefault(false);

    // The version follows the product caption on its line, as far from it as a
    // longer title pushes it.
    auto *titleLine = new QHBoxLayout;
    titleLine->addWidget(lblCompanyProduct);
    titleLine->addSpacing(20);
    titleLine->addWidget(lblVersion);
    titleLine->addStretch(1);
    auto *texts = new QVBoxLayout;
    texts->addLayout(titleLine);
    texts->addWidget(Label5);
    texts->addWidget(Label3);
    texts->addWidget(Label6);
    texts->addStretch(1);
    texts->addWidget(lblPlatform);
    auto *buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSystemInfo);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(imgLogo, 0, Qt::AlignTop);
    layout->addSpacing(12);
    layout->addLayout(texts, 1);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSystemInfo, &QPushButton::clicked, this, &frmAbout::cmdSystemInfo_Click);
}

void frmAbout::Display()
{
    load();
    exec();
}

void frmAbout::load()
{
    lblCompanyProduct->setText(ProductTitleForCaption());
    lblVersion->setText(VersionText());
    setFixedSize(sizeHint().expandedTo(QSize(480, 220)));
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSystemInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    try {
        const QString program = systemInfoProgram();
        if (!program.isEmpty() && ui::ShellStart(program))
            return;
        if (!program.isEmpty())
            logError(QStringLiteral("frmAbout.StartSysInfo"), QStringLiteral("Could not start ") + program);
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmAbout.StartSysInfo"), failure);
    }
    ui::MsgBox(QString::fromUtf8(kSysInfoUnavailable), ui::vbOKOnly);
}

} // namespace quorl
