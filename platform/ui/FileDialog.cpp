#include "platform/ui/FileDialog.h"

#include <QRegularExpression>

#include "platform/ui/Services.h"

namespace quorl::ui {

QString showFileDialog(const FileDialogRequest &request)
{
    return fileDialogService().show(request);
}

QStringList qtNameFilters(const QString &vbFilter)
{
    static const QRegularExpression trailingGroup(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QStringList parts = vbFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QStringList vbPatterns;
        for (const QString &p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (!p.trimmed().isEmpty())
                vbPatterns += p.trimmed();
        }
        if (description.isEmpty() && vbPatterns.isEmpty())
            continue;
        if (vbPatterns.isEmpty())
            vbPatterns += QStringLiteral("*");
        QStringList qtPatterns;
        for (const QString &p : std::as_const(vbPatterns))
            qtPatterns += p == QLatin1String("*.*") ? QStringLiteral("*") : p;
        const QString vbList = vbPatterns.join(QLatin1Char(' '));
        const QString qtList = qtPatterns.join(QLatin1Char(' '));

        // The description usually shows its patterns already: keep its text, and
        // only put Qt's patterns in where they differ from the shown ones.
        const QRegularExpressionMatch shown = trailingGroup.match(description);
        if (shown.hasMatch()) {
            const QString shownList =
                shown.captured(1).split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts).join(QLatin1Char(' '));
            if (shownList.compare(vbList, Qt::CaseInsensitive) == 0) {
                if (vbList == qtList)
                    filters += description;
                else
                    filters += description.left(shown.capturedStart()) + QLatin1Char('(') + qtList + QLatin1Char(')');
                continue;
            }
        }
        const QString label = description.isEmpty() ? qtList : description;
        filters += label + QStringLiteral(" (") + qtList + QLatin1Char(')');
    }
    return filters;
}

QStringList caselessPatterns(const QString &qtNameFilter)
{
    static const QRegularExpression group(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch match = group.match(qtNameFilter);
    const QString list = match.hasMatch() ? match.captured(1) : qtNameFilter;
    QStringList patterns;
    for (const QString &pattern : list.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts)) {
        QString caseless;
        bool inSet = false;
        for (const QChar c : pattern) {
            if (c == QLatin1Char('['))
                inSet = true;
            else if (c == QLatin1Char(']'))
                inSet = false;
            if (!inSet && c.isLetter() && c.toLower() != c.toUpper())
                caseless += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
            else
                caseless += c;
        }
        patterns += caseless;
    }
    return patterns;
}

} // namespace quorl::ui
