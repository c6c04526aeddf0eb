#include "core/modEventLog.h"

#include <QDir>
#include <QFileInfo>

#include "core/RegistryValues.h"
#include "core/modFunctions.h"
#include "core/modMessageLog.h"
#include "platform/paths/Paths.h"
#include "platform/registry/Registry.h"
#include "platform/text/Text.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"

namespace quorl {

std::array<QString, kEventNameSlots> EventNames;
QString EventLogPath;

namespace {

constexpr const char *kEventTexts[] = {
    "Application started",
    "Application closed",
    "Berth added",
    "Berth modified",
    "Berth deleted",
    "Customer added",
    "Customer modified",
    "Customer deleted",
    "Owner added",
    "Owner modified",
    "Owner deleted",
    "Booking added",
    "Booking modified",
    "Booking cancelled",
    "Settings modified",
    "Web booking generated",
    "Customers exported",
    "Reservations exported",
    "Today's reservations exported",
    "Database compacted",
    "Database backup performed",
    "Database restore performed",
    "Report generated",
    "Report printed",
    "Mailing list generated",
    "Configuration modified",
    "Regional settings modified",
};

// The caption of the File menu's "End of &workday" without its access-key mark.
constexpr const char *kDayEndTitle = "End of workday";

constexpr int kTraceDaysKept = 7;

// A name is a day folder only when it reads back as the same real date.
bool isDayFolderBefore(const QString &name, const QDate &limit)
{
    if (name.size() != 8)
        return false;
    for (const QChar c : name) {
        if (!c.isDigit())
            return false;
    }
    const QDate day = ParseDateByFormat(name, QStringLiteral("ddMMyyyy")).date();
    return day.isValid() && dayFolderName(day) == name && day < limit;
}

} // namespace

QString TraceFolder()
{
    return GetRegistryValue(HKEY_LOCAL_MACHINE, QString::fromUtf8(kProgramKey), QString::fromUtf8(kValueTraces),
                            QString::fromUtf8(kDefaultTraces));
}

QString traceFolderPath()
{
    // An empty setting names no folder; the log then stays off rather than writing
    // into whatever the current folder happens to be.
    const QString folder = TraceFolder();
    if (folder.trimmed().isEmpty())
        return QString();
    return paths::resolve(folder);
}

QString dayFolderName(const QDate &day)
{
    return day.toString(QStringLiteral("ddMMyyyy"));
}

QString eventLogEntry(const QDateTime &when, int code, const QStringList &detailLines)
{
    const QString crLf = QStringLiteral("\r\n");
    QString entry = QLatin1Char('[') + text::formatGeneralDate(when) + QLatin1Char(']') + crLf;
    if (code >= 0 && code < kEventNameSlots)
        entry += QLatin1Char('[') + EventNames.at(code) + QLatin1Char(']') + crLf;
    for (const QString &line : detailLines)
        entry += text::oneLine(line) + crLf;
    entry += crLf;
    return entry;
}

QString eventLogEntry(const QDateTime &when, int code, const QString &details)
{
    return eventLogEntry(when, code, details.isEmpty() ? QStringList() : QStringList{details});
}

void InitEventLog()
{
    for (int code = 0; code < kEventNameSlots; ++code)
        EventNames.at(code) = code < int(std::size(kEventTexts)) ? QString::fromUtf8(kEventTexts[code]) : QString();

    try {
        const QString folder = TraceFolder();
        if (folder.trimmed().isEmpty())
            return;
        const QString dayFolder = paths::joinWindows(folder, dayFolderName(ui::Date()));
        const QString dayFolderLocal = paths::resolve(dayFolder);
        if (!QFileInfo(dayFolderLocal).isDir())
            QDir().mkdir(dayFolderLocal);
        // The path is set even when the folder could not be made: writing then fails quietly.
        EventLogPath = paths::resolve(paths::joinWindows(dayFolder, QStringLiteral("events.Log")));
    } catch (const std::exception &error) {
        logError(QStringLiteral("modEventLog.InitEventLog"), error);
    }
}

void WriteEventLog(const QDateTime &when, int code, const QString &details)
{
    WriteEventLog(when, code, details.isEmpty() ? QStringList() : QStringList{details});
}

void WriteEventLog(const QDateTime &when, int code, const QStringList &detailLines)
{
    if (EventLogPath.isEmpty())
        return;
    try {
        // The user is not told (the program works on without its journal), but the lost
        // entry leaves a trace where a support person looks.
        if (!text::appendAnsiFile(EventLogPath, eventLogEntry(when, code, detailLines))) {
            const QString event = code >= 0 && code < kEventNameSlots ? EventNames.at(code) : QString::number(code);
            logError(QStringLiteral("modEventLog.WriteEventLog"),
                     QStringLiteral("cannot write to %1; the entry \"%2\" of %3 is lost")
                         .arg(EventLogPath, event, text::formatGeneralDate(when)));
        }
    } catch (const std::exception &error) {
        logError(QStringLiteral("modEventLog.WriteEventLog"), error);
    }
}

int deleteTraceFoldersBefore(const QString &traceFolderLocalPath, const QDate &limit)
{
    if (traceFolderLocalPath.isEmpty())
        return 0;
    const QDir traces(traceFolderLocalPath);
    // The folder this run logs to is in use and stays, like any folder holding an
    // open file: a program left running for days still writes to its start day's log.
    const QString inUse =
        EventLogPath.isEmpty() ? QString() : QFileInfo(QFileInfo(EventLogPath).absolutePath()).canonicalFilePath();
    int deleted = 0;
    const QStringList names = traces.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QString &name : names) {
        if (!isDayFolderBefore(name, limit))
            continue;
        if (!inUse.isEmpty() && QFileInfo(traces.filePath(name)).canonicalFilePath() == inUse)
            continue;
        // A folder holding a file in use stays; the others are still tried.
        QDir day(traces.filePath(name));
        if (day.removeRecursively())
            ++deleted;
    }
    return deleted;
}

void DeleteOldTraces()
{
    const int answer = ui::MsgBox(QStringLiteral("Do you want to delete traces older than 7 days?"), ui::vbYesNo,
                                  QString::fromUtf8(kDayEndTitle));
    if (answer != ui::vbYes)
        return;
    try {
        const QDate limit = DateOnly(ui::Now().addDays(-kTraceDaysKept)).date();
        deleteTraceFoldersBefore(traceFolderPath(), limit);
    } catch (const std::exception &error) {
        logError(QStringLiteral("modEventLog.DeleteOldTraces"), error);
    }
}

} // namespace quorl
