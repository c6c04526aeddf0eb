#include "platform/ui/TextBoxes.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QValidator>

namespace quorl::ui {
namespace {

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0x85) || c == QChar::LineSeparator
        || c == QChar::ParagraphSeparator;
}

// C0 and C1 controls and DEL.
bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

qsizetype commonPrefix(const QString &a, const QString &b, qsizetype limit)
{
    qsizetype length = 0;
    while (length < limit && a.at(length) == b.at(length))
        ++length;
    return length;
}

qsizetype commonSuffix(const QString &a, const QString &b, qsizetype limit)
{
    qsizetype length = 0;
    while (length < limit && a.at(a.size() - 1 - length) == b.at(b.size() - 1 - length))
        ++length;
    return length;
}

// A validator sees every change of its box's text before the box shows it or tells
// anyone of it, whichever way the text came (typed, pasted by key, context menu or
// Edit menu, dropped, from an input method), so no window and no save ever sees the
// lines a paste brought.
class OneLineValidator final : public QValidator
{
public:
    explicit OneLineValidator(QLineEdit *box) : QValidator(box), m_box(box), m_previous(box->text()) {}

    State validate(QString &input, int &pos) const override
    {
        // The box counts as modified from the user's first edit after the program
        // last set its text (setText clears the flag); the program's own texts are
        // shown as they are.
        if (m_box->isModified())
            input = oneLineEdit(m_previous, input, pos);
        m_previous = input;
        return Acceptable;
    }

private:
    QLineEdit *m_box;
    mutable QString m_previous; // the box's text before the change being validated
};

// Gives each one-line box its validator as the box is first polished, which is
// before it is first shown.
class TextBoxRules final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Polish) {
            auto *box = qobject_cast<QLineEdit *>(watched);
            if (box && !box->validator() && box->inputMask().isEmpty())
                box->setValidator(new OneLineValidator(box));
        }
        return false;
    }
};

} // namespace

QString oneLineText(const QString &inserted)
{
    QString line;
    line.reserve(inserted.size());
    for (const QChar c : inserted) {
        if (isLineBreak(c))
            break;
        if (c == QLatin1Char('\t'))
            line += QLatin1Char(' ');
        else if (!isControl(c))
            line += c;
    }
    return line;
}

QString oneLineEdit(const QString &previous, const QString &edited, int &cursor)
{
    const qsizetype end = qBound(qsizetype(0), qsizetype(cursor), edited.size());
    // What follows the cursor was there before; of what precedes it, the part
    // that matches the old text's start was there too.
    const qsizetype after = commonSuffix(previous, edited, std::min(previous.size(), edited.size() - end));
    const qsizetype before = commonPrefix(previous, edited, std::min(previous.size(), edited.size()) - after);
    const QString inserted = edited.mid(before, edited.size() - before - after);
    const QString kept = oneLineText(inserted);
    if (kept == inserted)
        return edited;
    cursor = int(before + kept.size());
    return edited.left(before) + kept + edited.right(after);
}

QString multiLineText(const QString &text)
{
    QString stored;
    stored.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isLineBreak(c)) {
            stored += QLatin1String("\r\n");
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\t') || !isControl(c)) {
            stored += c;
        }
    }
    return stored;
}

QString storedText(const QPlainTextEdit *box)
{
    return box ? multiLineText(box->toPlainText()) : QString();
}

void installTextBoxRules()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application || application->findChild<TextBoxRules *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    application->installEventFilter(new TextBoxRules(application));
}

} // namespace quorl::ui

#include "TextBoxes.moc"
