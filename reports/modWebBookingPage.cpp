#include "reports/modWebBookingPage.h"

#include <QFile>
#include <QRegularExpression>

#include "core/MDIMain.h"
#include "core/modDatabase.h"
#include "core/modMessageLog.h"
#include "platform/paths/FileTargets.h"
#include "platform/paths/Paths.h"
#include "platform/text/AnsiFileWriter.h"
#include "platform/text/Text.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"

// The template lives in the program's resources, which a static library must register itself.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace quorl {
namespace {

constexpr const char *kTemplateResource = ":/WBHTML";
const QString kAction = QStringLiteral("{ACTION}");
const QString kYourEmail = QStringLiteral("{YOUREMAIL}");

bool fitsAnsi(char32_t codePoint)
{
    if (codePoint == U'?')
        return true;
    return text::toAnsi(QString::fromUcs4(&codePoint, 1)) != QByteArrayLiteral("?");
}

// The options of the two year lists, rewritten in place from firstYear on. Each
// year has four digits, so the page keeps its length.
QString withYears(const QString &page, int firstYear)
{
    static const QRegularExpression yearList(
        QStringLiteral("(<select name=\"(?:arrive|departure)_year\"[^>]*>)(.*?)(</select>)"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression yearOption(QStringLiteral("<option value=\"\\d{4}\">\\d{4}</option>"),
                                               QRegularExpression::CaseInsensitiveOption);
    QString result;
    qsizetype done = 0;
    auto lists = yearList.globalMatch(page);
    while (lists.hasNext()) {
        const QRegularExpressionMatch list = lists.next();
        QString options = list.captured(2);
        QString rewritten;
        qsizetype optionsDone = 0;
        int year = firstYear;
        auto each = yearOption.globalMatch(options);
        while (each.hasNext()) {
            const QRegularExpressionMatch option = each.next();
            rewritten += options.mid(optionsDone, option.capturedStart() - optionsDone);
            rewritten += QStringLiteral("<option value=\"%1\">%1</option>").arg(year++);
            optionsDone = option.capturedEnd();
        }
        rewritten += options.mid(optionsDone);
        result += page.mid(done, list.capturedStart(2) - done) + rewritten;
        done = list.capturedEnd(2);
    }
    return result + page.mid(done);
}

void showSaveError(const QString &description)
{
    ui::MsgBox(Sprintf(QStringLiteral("Can't save HTML file:%n%s"), description), ui::vbOKOnly,
               QStringLiteral("Error"));
}

} // namespace

QString webBookingTemplate()
{
    static const bool registered = (registerResources(), true);
    Q_UNUSED(registered)
    QFile resource(QString::fromLatin1(kTemplateResource));
    if (!resource.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = resource.readAll();
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return text::fromAnsi(bytes);
}

QString htmlEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const char32_t c : text.toUcs4()) {
        switch (c) {
        case U'&':
            out += QLatin1String("&amp;");
            break;
        case U'<':
            out += QLatin1String("&lt;");
            break;
        case U'>':
            out += QLatin1String("&gt;");
            break;
        case U'"':
            out += QLatin1String("&quot;");
            break;
        case U'\'':
            out += QLatin1String("&#39;");
            break;
        default:
            if (fitsAnsi(c))
                out += QString::fromUcs4(&c, 1);
            else
                out += QStringLiteral("&#%1;").arg(quint32(c));
        }
    }
    return out;
}

QString webBookingPageText(const QString &templateText, const QString &action, const QString &email, int firstYear)
{
    const QString page = withYears(templateText, firstYear);
    const QString actionText = htmlEscaped(action);
    const QString emailText = htmlEscaped(email);
    // One pass over the template, so a value is never searched for placeholders itself.
    QString result;
    result.reserve(page.size() + actionText.size() + 2 * emailText.size());
    qsizetype at = 0;
    while (at < page.size()) {
        const qsizetype brace = page.indexOf(QLatin1Char('{'), at);
        if (brace < 0)
            break;
        result += QStringView(page).mid(at, brace - at);
        if (QStringView(page).mid(brace).startsWith(kAction)) {
            result += actionText;
            at = brace + kAction.size();
        } else if (QStringView(page).mid(brace).startsWith(kYourEmail)) {
            result += emailText;
            at = brace + kYourEmail.size();
        } else {
            result += QLatin1Char('{');
            at = brace + 1;
        }
    }
    result += QStringView(page).mid(at);
    return result;
}

bool GenerateWebBookingPage(const QString &Action, const QString &Email)
{
    const QString templateText = webBookingTemplate();
    if (templateText.isEmpty()) {
        ui::MsgBox(QStringLiteral("Invalid HTML resource"), ui::vbOKOnly, QStringLiteral("Error"));
        return false;
    }
    const QString page = webBookingPageText(templateText, Action, Email, ui::Date().year());

    ui::FileDialogRequest request;
    request.title = QStringLiteral("Save Web Book as...");
    request.fileName = QString();
    request.filter = QStringLiteral("HTML files (*.HTML)|*.HTML");
    request.filterIndex = 1;
    request.defaultExt = QStringLiteral("html");
    request.initDir = QString();
    request.flags = ui::cdlOFNHideReadOnly | ui::cdlOFNOverwritePrompt | ui::cdlOFNPathMustExist;
    request.save = true;
    const QString path = dlgExport(request);
    if (path.isEmpty())
        return false;
    const QString refusal = paths::writeRefusal(path, databaseInUse());
    if (!refusal.isEmpty()) {
        showSaveError(refusal);
        return false;
    }

    text::AnsiFileWriter file(paths::resolveForOpen(path), databaseInUse());
    if (!file.open() || !file.write(page + QStringLiteral("\r\n")) || !file.commit()) {
        logError(QStringLiteral("GenerateWebBookingPage"), path + QStringLiteral(": ") + file.errorString());
        showSaveError(file.errorString());
        return false;
    }
    return true;
}

} // namespace quorl
