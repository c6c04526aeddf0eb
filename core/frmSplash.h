#pragma once

#include <QDialog>

class QLabel;
class QFrame;

namespace quorl {

// The window shown for a second while the program starts.
class frmSplash : public QDialog
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);

    void Form_Load();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_KeyPress();
    void Frame1_Click();

    QFrame *Frame1 = nullptr;
    QLabel *imgLogo = nullptr;
    QLabel *lblCompanyProduct = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblPlatform = nullptr;
};

} // namespace quorl
