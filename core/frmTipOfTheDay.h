#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quorl {

// The tips file beside the program: "TipOfTheDay.txt", one tip a line.
QString tipsFilePath();

// Every line of the tips file is a tip, an empty one included. Empty when the file
// is missing, cannot be read or holds nothing.
QStringList readTips(const QString &localPath);

// The tip to show for the stored "Next Tip" text: a position that is no tip of the
// file (past the end, negative, not a number) starts again at the first.
int tipPosition(const QString &storedNextTip, int tipCount);

// The position stored after showing one: the next, or the first after the last.
int positionAfter(int position, int tipCount);

// Start-up shows the tip while "Show Tip at Startup" reads 0 (also when it is missing).
bool tipShownAtStartup();

// "Tip of the Day": one tip at a time, in turn across sessions.
class frmTipOfTheDay : public QDialog
{
    Q_OBJECT

public:
    explicit frmTipOfTheDay(QWidget *parent = nullptr);

    // Shows the next tip and the window modally; returns when it has closed.
    void Dispaly();
    // Dispaly without the modal loop.
    void prepare();

    QString tipText() const;

public slots:
    void cmdNextTip_Click();
    void cmdOK_Click();

private:
    // Shows the tip "Next Tip" names and stores the one after it. False when the
    // tips file gave no tip; the tip text is then empty.
    bool ShowNextTip();

    QLabel *Label1 = nullptr;
    QFrame *Picture1 = nullptr;
    QPlainTextEdit *txtTip = nullptr;
    QCheckBox *chkShowTipsAtStartup = nullptr;
    QPushButton *cmdNextTip = nullptr;
    QPushButton *cmdOK = nullptr;
};

// Opens the tip over the main window and returns at once: the program's event
// loop, which starts after start-up, runs it. The window deletes itself on closing.
void showTipAtStartup(QWidget *mainWindow);

} // namespace quorl
