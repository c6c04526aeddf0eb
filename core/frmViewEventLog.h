#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;

namespace quorl {

inline constexpr const char *kTraceLogDialogTitle = "Open Trace Log File";
inline constexpr const char *kTraceLogFilter = "All Files (*.*)|*.*| Log Files (*.log)|*.log|";

// The largest file the viewer shows. A day's event log stays far below it; a larger
// file would be read whole into memory and into the text box.
inline constexpr qint64 kTraceLogLimit = 64 * 1024 * 1024;

// Why a file chosen in the viewer is not read, as a message that names it: no plain
// file (a pipe, device or folder), or larger than kTraceLogLimit. "" when it may be.
QString traceLogRefusal(const QString &localPath);

// The text of a log file as the viewer shows it: every line followed by CR LF, the
// last one too. Reads what is there now, also while the program goes on
// appending to the file. False when the file cannot be opened or read, or has grown
// past kTraceLogLimit.
bool readLogText(const QString &localPath, QString &text);

// "View Event Log File": asks for a log file, starting in the trace folder, and
// shows it whole. It only displays; nothing is written.
class frmViewEventLog : public QDialog
{
    Q_OBJECT

public:
    explicit frmViewEventLog(QWidget *parent = nullptr);

    // Asks for the file and shows it modally; returns when the window has closed,
    // at once when the user cancels or the file cannot be read. A choice that is no
    // plain file (a pipe, device or folder) or is too large for a log is refused with
    // a message, unopened.
    void Display();
    // Display without the modal loop: true when a file was chosen and loaded.
    bool load();

    QString text() const;

public slots:
    void cmdOK_Click();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Resize();

    QPlainTextEdit *txtEvent = nullptr;
    QPushButton *cmdOK = nullptr;
};

} // namespace quorl
