#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QAbstractButton;
class QLabel;
class QStackedWidget;
class QWidget;

// The pages of a wizard: frames fraStep(0..n), of which one is in view at a time.
// Showing a page puts its frame in view, gives the window the frame's caption,
// hides Back on the first page and lets Next read its last-page caption ("&Finish",
// or "&Confirm" where a wizard confirms) on the last one.

namespace quorl::ui {

class WizardPages final : public QObject
{
    Q_OBJECT

public:
    // The pages live in stack; the window takes each page's caption.
    WizardPages(QStackedWidget *stack, QWidget *window, QAbstractButton *back, QAbstractButton *next,
                const QString &lastNextCaption = QStringLiteral("&Finish"),
                const QString &nextCaption = QStringLiteral("&Next"));

    // Adds fraStep(count()) holding the page's controls; its object name is "fraStep(i)".
    QWidget *addPage(const QString &caption = QString());

    // Labels that mark the page in view in bold, one per page (a progress list).
    void setStepLabels(const QList<QLabel *> &labels);

    int count() const;
    QWidget *page(int index) const;
    QString caption(int index) const;
    int current() const { return m_current; }
    bool isLast() const { return m_current == count() - 1; }

    // Puts page index (clamped to the pages there are) in view.
    void showStep(int index);

signals:
    void stepShown(int index);

private:
    QStackedWidget *m_stack;
    QWidget *m_window;
    QAbstractButton *m_back;
    QAbstractButton *m_next;
    QString m_lastNextCaption;
    QString m_nextCaption;
    QList<QWidget *> m_pages;
    QList<QString> m_captions;
    QList<QLabel *> m_stepLabels;
    int m_current = 0;
};

} // namespace quorl::ui
