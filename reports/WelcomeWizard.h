#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace quorl {

namespace ui {
class WizardPages;
}

// The page the wizard opens on: the welcome page unless the registry value reads "1";
// any other text counts as "0".
int welcomeStartPage(const QString &registryValueName);

// A configuration wizard of the Web Bookings and Customers menus: pages in a line
// with Back, Next (Finish on the last page) and Cancel, a welcome page whose check
// box decides whether the next opening shows it, and Enter moving the focus.
class WelcomeWizard : public QDialog
{
    Q_OBJECT

public:
    // Prepares the pages and shows the wizard modally.
    void Display();

    int currentPage() const;

    QCheckBox *chkWelcome = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdCancel = nullptr;

public slots:
    void cmdBack_Click();
    void cmdNext_Click();
    void cmdCancel_Click();

protected:
    struct WelcomeTexts {
        QString caption;     // the welcome frame's caption
        QStringList lines;   // the welcome page's texts, in order
    };

    WelcomeWizard(QWidget *parent, const char *objectName, const QString &registryValueName,
                  const WelcomeTexts &welcome);

    // A page after the welcome page, with its caption and texts; the caller adds its controls.
    QVBoxLayout *addPage(const QString &caption, const QStringList &lines);
    // Call once every page is added.
    void finishPages();

    // Before the window shows, after the start page is known.
    virtual void prepare() {}
    // Next on this page may go on; false keeps the wizard where it is.
    virtual bool mayLeave(int page) { Q_UNUSED(page) return true; }
    // Finish on the last page. The wizard closes when it returns true.
    virtual bool finish() = 0;

    void showPage(int page);
    // Writes the welcome choice to the registry when the tick changed since opening.
    void storeWelcomeChoice();

    bool eventFilter(QObject *watched, QEvent *event) override;
    void Form_KeyDown(QWidget *control);

private:
    QString m_registryValueName;
    QStackedWidget *m_stack = nullptr;
    ui::WizardPages *m_pages = nullptr;
    int m_startPage = 0;
    bool m_tickAtOpening = true;
};

} // namespace quorl
