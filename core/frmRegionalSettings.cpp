#include "core/frmRegionalSettings.h"

#include <exception>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "core/ProgramSettings.h"
#include "core/RegistryValues.h"
#include "core/modEventLog.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "platform/paths/Paths.h"
#include "platform/registry/Registry.h"
#include "platform/text/Text.h"
#include "platform/ui/Clock.h"

namespace quorl {

namespace {

const QString kCaption = QStringLiteral("Regional Settings");

QString systemCurrencySymbol()
{
    const QString system = GetRegistryValue(HKEY_USERS, QString::fromUtf8(kInternationalKey),
                                            QString::fromUtf8(kValueSystemCurrency),
                                            QString::fromUtf8(kDefaultSystemCurrency));
    return system == QLatin1String(kDefaultSystemCurrency) ? text::currencySymbol() : system;
}

QLabel *caption(QWidget *parent, const char *name, const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

} // namespace

QString settingTimeText(const QTime &time)
{
    return text::formatLongTime(time);
}

RegionalSettings readRegionalSettings()
{
    RegionalSettings settings;
    settings.postCodeIndex = settingNumber(programSetting(kValuePostCode, kDefaultPostCodeRegional)) == 0 ? 0 : 1;
    const QString currency = programSetting(kValueCurrencySymbol, kDefaultCurrencySymbol);
    settings.currencySymbol = currency == QLatin1String("0") ? systemCurrencySymbol() : currency;
    settings.checkInTime = timeSetting(kValueCheckInTime, kDefaultCheckInTime);
    settings.checkOutTime = timeSetting(kValueCheckoutTime, kDefaultCheckoutTime);
    settings.showAdultsAndKids =
        settingNumber(programSetting(kValueShowAdultsAndKids, kDefaultShowAdultsAndKids)) != 0;
    return settings;
}

bool saveRegionalSettings(const RegionalSettings &settings)
{
    const QString checkIn = settingTimeText(settings.checkInTime);
    const QString checkOut = settingTimeText(settings.checkOutTime);
    setProgramSetting(kValuePostCode, QString::number(settings.postCodeIndex));
    setProgramSetting(kValueCurrencySymbol, settings.currencySymbol);
    setProgramSetting(kValueCheckInTime, checkIn);
    setProgramSetting(kValueCheckoutTime, checkOut);
    setProgramSetting(kValueShowAdultsAndKids, settings.showAdultsAndKids ? QStringLiteral("1") : QStringLiteral("0"));
    setProgramSetting(kValueTraces, QString::fromUtf8(kRegionalTraceFolder));

    // A trace folder named in the settings but missing would leave the next run
    // without an event log.
    const QString traces = paths::resolve(QString::fromUtf8(kRegionalTraceFolder));
    const bool folderMade = QFileInfo(traces).isDir() || QDir().mkpath(traces);
    if (!folderMade)
        logError(QStringLiteral("frmRegionalSettings.cmdOK_Click"),
                 QStringLiteral("The trace folder could not be made: ") + traces);

    WriteEventLog(ui::Now(), evRegionalSettingsModified,
                  QStringLiteral("Postcode: ") + QString::number(settings.postCodeIndex)
                      + QStringLiteral(", Currency Symbol: ") + settings.currencySymbol
                      + QStringLiteral(", Check in time: ") + checkIn + QStringLiteral(", Check out time: ")
                      + checkOut);
    return folderMade;
}

frmRegionalSettings::frmRegionalSettings(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmRegionalSettings"));
    setWindowTitle(kCaption);
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Configure the system to show your regional settings and preferences"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    cboPostCode = new QComboBox(this);
    cboPostCode->setObjectName(QStringLiteral("cboPostCode"));
    cboPostCode->addItems({QStringLiteral("Post Code"), QStringLiteral("Zip Code")});
    txtCurrencySymbol = new QLineEdit(this);
    txtCurrencySymbol->setObjectName(QStringLiteral("txtCurrencySymbol"));
    dtpCheckInTime = new QTimeEdit(this);
    dtpCheckInTime->setObjectName(QStringLiteral("dtpCheckInTime"));
    dtpCheckOutTime = new QTimeEdit(this);
    dtpCheckOutTime->setObjectName(QStringLiteral("dtpCheckOutTime"));
    for (QTimeEdit *picker : {dtpCheckInTime, dtpCheckOutTime})
        picker->setDisplayFormat(QStringLiteral("HH:mm"));
    chkShowKidsAdults = new QCheckBox(QStringLiteral("No Adults and No Kids"), this);
    chkShowKidsAdults->setObjectName(QStringLiteral("chkShowKidsAdults"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter moves the focus; only a click (or Space) presses a button.
    for (QPushButton *button : {cmdOK, cmdCancel})
        button->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(caption(this, "Label2", QStringLiteral("Post Code / Zip Code:"), cboPostCode), 0, 0);
    fields->addWidget(cboPostCode, 0, 1);
    fields->addWidget(caption(this, "Label3", QStringLiteral("Currency Symbol:"), txtCurrencySymbol), 1, 0);
    fields->addWidget(txtCurrencySymbol, 1, 1);
    fields->addWidget(caption(this, "Label4", QStringLiteral("Check-in time:"), dtpCheckInTime), 2, 0);
    fields->addWidget(dtpCheckInTime, 2, 1);
    fields->addWidget(caption(this, "Label5", QStringLiteral("Check out time:"), dtpCheckOutTime), 3, 0);
    fields->addWidget(dtpCheckOutTime, 3, 1);
    fields->addWidget(chkShowKidsAdults, 4, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(fields);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(360, 240)));

    const QList<QWidget *> tabOrder{cboPostCode, txtCurrencySymbol, dtpCheckInTime, dtpCheckOutTime,
                                    chkShowKidsAdults, cmdOK, cmdCancel};
    for (int index = 0; index < tabOrder.size(); ++index) {
        setTabIndex(tabOrder[index], index);
        if (index > 0)
            setTabOrder(tabOrder[index - 1], tabOrder[index]);
    }
    connect(cmdOK, &QPushButton::clicked, this, &frmRegionalSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmRegionalSettings::cmdCancel_Click);
    // The form sees the Enter key before its controls do.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void frmRegionalSettings::Dispaly()
{
    load();
    exec();
}

void frmRegionalSettings::load()
{
    try {
        const RegionalSettings settings = readRegionalSettings();
        cboPostCode->setCurrentIndex(settings.postCodeIndex);
        txtCurrencySymbol->setText(settings.currencySymbol);
        dtpCheckInTime->setTime(settings.checkInTime);
        dtpCheckOutTime->setTime(settings.checkOutTime);
        chkShowKidsAdults->setChecked(settings.showAdultsAndKids);
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmRegionalSettings.Dispaly"), failure);
    }
}

void frmRegionalSettings::cmdOK_Click()
{
    try {
        RegionalSettings settings;
        settings.postCodeIndex = cboPostCode->currentIndex() < 0 ? 0 : cboPostCode->currentIndex();
        settings.currencySymbol = txtCurrencySymbol->text();
        settings.checkInTime = dtpCheckInTime->time();
        settings.checkOutTime = dtpCheckOutTime->time();
        settings.showAdultsAndKids = chkShowKidsAdults->isChecked();
        saveRegionalSettings(settings);
    } catch (const std::exception &failure) {
        logError(QStringLiteral("frmRegionalSettings.cmdOK_Click"), failure);
    }
    accept();
}

void frmRegionalSettings::cmdCancel_Click()
{
    reject();
}

bool frmRegionalSettings::eventFilter(QObject *watched, QEvent *event)
{
    if (isEnterKeyIn(this, watched, event)) {
        Form_KeyDown(13);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmRegionalSettings::Form_KeyDown(int KeyCode)
{
    if (KeyCode == 13)
        FocusNextControl(this);
}

} // namespace quorl
