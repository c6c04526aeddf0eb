#include "platform/ui/MsgBox.h"

#include "platform/ui/Services.h"

namespace quorl::ui {

int MsgBox(const QString &prompt, int buttons, const QString &title)
{
    const MessageRequest request{prompt, buttons, title.isEmpty() ? QString::fromUtf8(kProgramTitle) : title};
    return messageBoxService().show(request);
}

QList<int> buttonResults(int buttons)
{
    switch (buttons & 0x0F) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

int defaultResult(int buttons)
{
    const QList<int> results = buttonResults(buttons);
    const qsizetype index = qMin<qsizetype>((buttons >> 8) & 0x03, results.size() - 1);
    return results.at(index);
}

int escapeResult(int buttons)
{
    const QList<int> results = buttonResults(buttons);
    if (results.contains(vbCancel))
        return vbCancel;
    if (results.contains(vbNo))
        return vbNo;
    if (results == QList<int>{vbOK})
        return vbOK;
    return 0;
}

QString buttonCaption(int result)
{
    switch (result) {
    case vbOK: return QStringLiteral("OK");
    case vbCancel: return QStringLiteral("Cancel");
    case vbAbort: return QStringLiteral("&Abort");
    case vbRetry: return QStringLiteral("&Retry");
    case vbIgnore: return QStringLiteral("&Ignore");
    case vbYes: return QStringLiteral("&Yes");
    case vbNo: return QStringLiteral("&No");
    default: return QString();
    }
}

} // namespace quorl::ui
