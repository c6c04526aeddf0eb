#pragma once

#include <QList>
#include <QString>

namespace quorl::ui {

// A message box without a title of its own carries the program's title.
inline constexpr const char *kProgramTitle = "Quorl Duzuruz";

// The style and answer values keep the numbers callers combine and compare.
enum MsgBoxStyle {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

struct MessageRequest {
    QString prompt;
    int buttons = vbOKOnly;
    QString title;
};

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows the message and returns the answer as an MsgBoxResult value.
    virtual int show(const MessageRequest &request) = 0;
};

// Shows prompt through the installed service; an empty title gives kProgramTitle.
int MsgBox(const QString &prompt, int buttons = vbOKOnly, const QString &title = QString());

// The answers of the buttons a style shows, left to right.
QList<int> buttonResults(int buttons);
// The answer of the button that has the focus when the box opens.
int defaultResult(int buttons);
// The answer Esc (or the close box) gives: Cancel, else No, else OK of a box with
// OK alone; 0 for Abort, Retry and Ignore, which Esc cannot dismiss.
int escapeResult(int buttons);
// The caption of the button that gives result, with its "&" accelerator.
QString buttonCaption(int result);

} // namespace quorl::ui
