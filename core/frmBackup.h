#pragma once

#include <QDialog>

class QPushButton;

namespace quorl {

class ctlProgressBar;

// The progress window of a backup or restore: the bar the library's callback moves
// and "&Cancel", which asks the library to stop at its next report.
class frmBackup : public QDialog
{
    Q_OBJECT

public:
    explicit frmBackup(QWidget *parent = nullptr);

    // False without asking while Cancel was not clicked; otherwise asks whether to
    // cancel: Yes keeps the request (and every later call asks again), No clears it.
    bool CheckAbort();

    // A step of the work fills the bar from one percentage to another; its progress
    // (done of total, 0 total counting as done) is shown within that part.
    void beginStep(double from, double to);
    void showStepProgress(double done, double total);

    ctlProgressBar *ctlProgressBar1 = nullptr;
    QPushButton *btnPrekid = nullptr;
    bool AbortRequested = false;

private:
    double m_stepFrom = 0;
    double m_stepTo = 100;

public slots:
    void btnPrekid_Click();

protected:
    void Form_Load();
    // Esc and the close box ask to cancel, as the button does; the window itself
    // goes only when the work is over.
    void reject() override;
    void closeEvent(QCloseEvent *event) override;
};

} // namespace quorl
