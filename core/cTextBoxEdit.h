#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

namespace quorl {

// The clipboard and undo commands of one text box, as the Edit menu gives them.
// A text box is a QLineEdit (not the editor inside a spin box, date box or combo
// box), a QPlainTextEdit or a QTextEdit; a read-only one counts as locked. When
// nothing is bound, or the box has been destroyed, every command does nothing and
// every Can... answers False.
class cTextBoxEdit
{
public:
    cTextBoxEdit() = default;
    explicit cTextBoxEdit(QWidget *textBox);

    // Binds the box; a widget that is no text box leaves nothing bound.
    void setTextBox(QWidget *textBox);
    QWidget *TextBox() const { return m_textBox.data(); }

    static bool isTextBox(const QWidget *widget);

    // Cut copies and, unless the box is locked, removes the selection. Paste does
    // nothing in a locked box. Both can be undone.
    void Cut();
    void Copy();
    void Paste();
    void Undo();

    bool CanCut() const;     // a selection, and the box not locked
    bool CanCopy() const;    // a selection
    bool CanPaste() const;   // text on the clipboard; the lock is not looked at
    bool CanUndo() const;

    // Replaces the selection with text, only when there is a selection. Without
    // undo the change cannot be undone and the box's undo history is emptied.
    void ReplaceSelection(const QString &text, bool undo);
    // Removes the selection; with no selection nothing changes.
    void Delete(bool undo);
    void SelectAll();

private:
    int selectionLength() const;
    bool isLocked() const;

    QPointer<QWidget> m_textBox;
};

} // namespace quorl
