#pragma once

#include <QString>

class QPlainTextEdit;

// What a text box lets the user put into it, in every window alike.
//
// A one-line box (QLineEdit) holds one line, as a single-line edit box does on
// Windows: of what the user types, pastes or drops it keeps the first line, a tab
// becomes a blank, and NUL and every other control character stay out. So no typed
// name can start a line of its own in the event log, the message log or an export.
// What the program puts into a box (a stored value shown) is left as it is.
//
// A multi-line box (notes) keeps its line breaks and tabs; its text is stored with
// every line break as CR LF, the form the exports and prints expect, and without
// NUL or other control characters.

namespace quorl::ui {

// The part of inserted text a one-line box takes.
QString oneLineText(const QString &inserted);

// A one-line box's text after the user replaced one stretch of previous, the
// stretch ending at cursor in edited: that stretch is held to one line, the rest is
// kept. cursor moves to the end of what the stretch kept.
QString oneLineEdit(const QString &previous, const QString &edited, int &cursor);

// The stored form of a multi-line box's text.
QString multiLineText(const QString &text);
QString storedText(const QPlainTextEdit *box);

// Holds every one-line box of the application to one line from the moment it is
// first polished, before the user can reach it, so no window has to ask for it.
// Call once after the QApplication exists; a second call does nothing. A box with a
// validator or input mask of its own (the editor of a spin box or date box) keeps
// it: such a box takes only its own characters already.
void installTextBoxRules();

} // namespace quorl::ui
