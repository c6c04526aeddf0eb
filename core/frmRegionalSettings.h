#pragma once

#include <QDialog>
#include <QString>
#include <QTime>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;

namespace quorl {

// The settings the "Regional Settings" dialog edits, as it shows them.
struct RegionalSettings {
    int postCodeIndex = 0; // 0 "Post Code", 1 "Zip Code"
    QString currencySymbol;
    QTime checkInTime;
    QTime checkOutTime;
    bool showAdultsAndKids = true;
};

// The stored trace folder OK always writes.
inline constexpr const char *kRegionalTraceFolder = "C:\\Quorlc\\Traces\\";

// The settings as stored now. A post-code setting other than 0 means "Zip Code"; a
// currency symbol stored as "0" means the system's, and where the system names
// none, the program's own; a time that cannot be read gives the usual one.
RegionalSettings readRegionalSettings();

// Stores every setting, rewrites the trace folder setting and makes that folder,
// then writes event 26 with the details of what was stored. False when the trace
// folder could not be made (the settings are stored all the same).
bool saveRegionalSettings(const RegionalSettings &settings);

// A time of day as the settings hold it: "09:00:00".
QString settingTimeText(const QTime &time);

// "Regional Settings": post code or zip code, currency symbol, check-in and
// check-out times of a new booking, and whether bookings take the numbers of
// adults and children.
class frmRegionalSettings : public QDialog
{
    Q_OBJECT

public:
    explicit frmRegionalSettings(QWidget *parent = nullptr);

    // Fills the dialog from the settings and shows it modally; returns when it has closed.
    void Dispaly();
    // Dispaly without the modal loop.
    void load();

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_KeyDown(int KeyCode);

    QLabel *Label1 = nullptr;
    QComboBox *cboPostCode = nullptr;
    QLineEdit *txtCurrencySymbol = nullptr;
    QTimeEdit *dtpCheckInTime = nullptr;
    QTimeEdit *dtpCheckOutTime = nullptr;
    QCheckBox *chkShowKidsAdults = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace quorl
