#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace quorl {

// The registry places where an installation names its system information program.
inline constexpr const char *kSysInfoPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char *kSysInfoPathValue = "PATH";
inline constexpr const char *kSysInfoFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char *kSysInfoFolderValue = "MSINFO";
inline constexpr const char *kSysInfoProgramName = "MSINFO32.EXE";
// The desktop's own system information program, looked for on the program path
// when the registry names none.
inline constexpr const char *kDesktopSysInfoProgram = "hardinfo";

inline constexpr const char *kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// Reads one registry value as text into KeyVal; false (and KeyVal empty) when the
// key or the value is missing or holds no text.
bool GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal);

// The system information program to start: the path the registry names, the
// program in the folder it names, or the desktop's program; "" when there is none.
QString systemInfoProgram();

// "About": the product's title and version, and the system information button.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    // Fills the labels and shows the window modally; returns when it has closed.
    void Display();
    // Display without the modal loop.
    void load();

public slots:
    void cmdOK_Click();
    void cmdSystemInfo_Click();

private:
    void StartSysInfo();

    QLabel *imgLogo = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *lblCompanyProduct = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *lblPlatform = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSystemInfo = nullptr;
};

} // namespace quorl
