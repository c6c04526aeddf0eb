#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace quorl {

// The busy window of the compact: "Operation in progress" with a growing row of
// dots. The compact's steps run on a thread of their own and let the window redraw,
// so the dots keep moving; there is no Cancel, as a rebuild goes to its end.
class frmCompact : public QDialog
{
    Q_OBJECT

public:
    explicit frmCompact(QWidget *parent = nullptr);
    ~frmCompact() override;

    // Shows the window (modal to the program) with the hourglass; always false.
    bool Execute();
    // Stops the animation and takes the window and the hourglass down; always false.
    bool Destroy();

    QLabel *lblInfo = nullptr;
    QTimer *Timer1 = nullptr;
    qint16 DotCount = 1;

public slots:
    void Timer1_Timer();

protected:
    void reject() override {}

private:
    bool m_hourglass = false;
};

} // namespace quorl
