#include "core/cTextBoxEdit.h"

#include <QAbstractSpinBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace quorl {
namespace {

// Replaces the selection of a multi-line box; without undo the document forgets
// its history, as the single-line box does when its text is set.
template <class Edit>
void replaceSelected(Edit *edit, const QString &text, bool undo)
{
    QTextCursor cursor = edit->textCursor();
    if (!cursor.hasSelection())
        return;
    QTextDocument *document = edit->document();
    if (!undo)
        document->setUndoRedoEnabled(false);
    cursor.insertText(text);
    edit->setTextCursor(cursor);
    if (!undo)
        document->setUndoRedoEnabled(true);
}

void replaceSelected(QLineEdit *edit, const QString &text, bool undo)
{
    if (!edit->hasSelectedText())
        return;
    if (undo) {
        edit->insert(text);
        return;
    }
    const int start = edit->selectionStart();
    const int length = int(edit->selectedText().size());
    QString content = edit->text();
    content.replace(start, length, text);
    edit->setText(content);
    edit->setCursorPosition(start + int(text.size()));
}

// Runs action on the bound box as the editor type it is; the result of an
// unbound box is fallback.
template <class Result, class Action>
Result dispatch(QWidget *box, Result fallback, Action action)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        return action(line);
    if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
        return action(plain);
    if (auto *rich = qobject_cast<QTextEdit *>(box))
        return action(rich);
    return fallback;
}

template <class Action>
void dispatch(QWidget *box, Action action)
{
    dispatch(box, 0, [&](auto *edit) {
        action(edit);
        return 0;
    });
}

int selectedLength(QLineEdit *edit)
{
    return int(edit->selectedText().size());
}

template <class Edit>
int selectedLength(Edit *edit)
{
    const QTextCursor cursor = edit->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

bool undoAvailable(QLineEdit *edit)
{
    return edit->isUndoAvailable();
}

template <class Edit>
bool undoAvailable(Edit *edit)
{
    return edit->document()->isUndoAvailable();
}

} // namespace

cTextBoxEdit::cTextBoxEdit(QWidget *textBox)
{
    setTextBox(textBox);
}

void cTextBoxEdit::setTextBox(QWidget *textBox)
{
    m_textBox = isTextBox(textBox) ? textBox : nullptr;
}

bool cTextBoxEdit::isTextBox(const QWidget *widget)
{
    if (!widget)
        return false;
    if (qobject_cast<const QLineEdit *>(widget)) {
        // The editor inside a spin box, date box or combo box belongs to that control.
        const QWidget *owner = widget->parentWidget();
        return !qobject_cast<const QAbstractSpinBox *>(owner) && !qobject_cast<const QComboBox *>(owner);
    }
    return qobject_cast<const QPlainTextEdit *>(widget) || qobject_cast<const QTextEdit *>(widget);
}

int cTextBoxEdit::selectionLength() const
{
    return dispatch(m_textBox.data(), 0, [](auto *edit) { return selectedLength(edit); });
}

bool cTextBoxEdit::isLocked() const
{
    return dispatch(m_textBox.data(), true, [](auto *edit) { return edit->isReadOnly(); });
}

void cTextBoxEdit::Cut()
{
    if (selectionLength() == 0)
        return;
    Copy();
    if (!isLocked())
        Delete(true);
}

void cTextBoxEdit::Copy()
{
    dispatch(m_textBox.data(), [](auto *edit) { edit->copy(); });
}

void cTextBoxEdit::Paste()
{
    if (isLocked())
        return;
    dispatch(m_textBox.data(), [](auto *edit) { edit->paste(); });
}

void cTextBoxEdit::Undo()
{
    if (CanUndo())
        dispatch(m_textBox.data(), [](auto *edit) { edit->undo(); });
}

bool cTextBoxEdit::CanCut() const
{
    return selectionLength() > 0 && !isLocked();
}

bool cTextBoxEdit::CanCopy() const
{
    return selectionLength() >= 1;
}

bool cTextBoxEdit::CanPaste() const
{
    if (!m_textBox)
        return false;
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

bool cTextBoxEdit::CanUndo() const
{
    return dispatch(m_textBox.data(), false, [](auto *edit) { return undoAvailable(edit); });
}

void cTextBoxEdit::ReplaceSelection(const QString &text, bool undo)
{
    if (selectionLength() == 0)
        return;
    dispatch(m_textBox.data(), [&](auto *edit) { replaceSelected(edit, text, undo); });
}

void cTextBoxEdit::Delete(bool undo)
{
    dispatch(m_textBox.data(), [&](auto *edit) { replaceSelected(edit, QString(), undo); });
}

void cTextBoxEdit::SelectAll()
{
    dispatch(m_textBox.data(), [](auto *edit) { edit->selectAll(); });
}

} // namespace quorl
