#include "reports/modExport.h"

#include <vector>

#include <QDateTime>

#include "core/MDIMain.h"
#include "core/modDatabase.h"
#include "core/modEventLog.h"
#include "core/modMessageLog.h"
#include "platform/db/FieldValue.h"
#include "platform/db/Recordset.h"
#include "platform/paths/FileTargets.h"
#include "platform/paths/Paths.h"
#include "platform/text/AnsiFileWriter.h"
#include "platform/text/Text.h"
#include "platform/ui/Clock.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/RecordsetModel.h"

namespace quorl {
namespace {

constexpr const char *kReservationColumns =
    "SELECT Booking.FromDate, Booking.ToDate, Booking.BookedBy, Customer.Name AS Customer, Booking.Notes, "
    "Booking.NoAdults, Booking.NoKids, Booking.OtherCharges, Booking.VAT, Booking.TotalPayable, "
    "Booking.AmountPayed, PaymentMethod.Name AS PaymentMethod, Booking.CreditCardNo, Booking.CreditCardExpiry, "
    "Booking.CreditCardType, Booking.CreditCardCV2No, Booking.CostOfHire, Booking.BerthConfirmationNumber, "
    "Booking.GuestConfirmationNumber, Booking.PowerRequirements, Booking.ClubMember ";
constexpr const char *kReservationSource =
    "FROM PaymentMethod RIGHT JOIN (Customer INNER JOIN Booking ON Customer.ID = Booking.CustomerID) "
    "ON PaymentMethod.ID = Booking.PaymentMethodID";
// Rows in the order they were entered, so two exports of the same data read alike.
constexpr const char *kReservationOrder = " ORDER BY Booking.ID";

// Lines are handed to the file in batches of about this many characters.
constexpr qsizetype kWriteBatch = 64 * 1024;

bool needsRewriting(const QString &value)
{
    for (const QChar c : value) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return true;
    }
    return false;
}

// A line break inside a field is written CR LF like every line of the file,
// whatever form the row holds: older rows stored lone LFs and CRs.
void appendField(QString &line, const QString &value)
{
    line += QLatin1Char('"');
    if (needsRewriting(value)) {
        QString rewritten = text::crlf(value);
        rewritten.replace(QLatin1Char('"'), QLatin1String("\"\""));
        line += rewritten;
    } else {
        line += value;
    }
    line += QLatin1Char('"');
}

bool isDigits(QStringView text, qsizetype from, qsizetype count)
{
    for (qsizetype i = from; i < from + count; ++i) {
        if (!text.at(i).isDigit())
            return false;
    }
    return true;
}

// A stored date-time "YYYY-MM-DD[ HH:MM[:SS]]" in the general form, read straight from
// its text: a long export then spends no time building date objects. False for any
// other text, which the caller formats the slow way.
bool appendStoredDate(QString &out, QStringView stored)
{
    if (stored.size() < 10 || !isDigits(stored, 0, 4) || stored.at(4) != QLatin1Char('-') || !isDigits(stored, 5, 2)
        || stored.at(7) != QLatin1Char('-') || !isDigits(stored, 8, 2))
        return false;
    QStringView time;
    QString seconds = QStringLiteral(":00");
    if (stored.size() > 10) {
        const bool withSeconds = stored.size() == 19 && stored.at(16) == QLatin1Char(':') && isDigits(stored, 17, 2);
        if ((stored.size() != 16 && !withSeconds) || (stored.at(10) != QLatin1Char(' ') && stored.at(10) != QLatin1Char('T'))
            || !isDigits(stored, 11, 2) || stored.at(13) != QLatin1Char(':') || !isDigits(stored, 14, 2))
            return false;
        time = stored.mid(11, 5);
        if (withSeconds)
            seconds = stored.mid(16, 3).toString();
    }
    const bool midnight = time.isEmpty() || (time == QLatin1String("00:00") && seconds == QLatin1String(":00"));
    // The zero day holds a time alone.
    if (stored.left(10) == QLatin1String("1899-12-30")) {
        out += midnight ? QStringLiteral("00:00:00") : time.toString() + seconds;
        return true;
    }
    out += stored.mid(8, 2);
    out += QLatin1Char('/');
    out += stored.mid(5, 2);
    out += QLatin1Char('/');
    out += stored.left(4);
    if (!midnight) {
        out += QLatin1Char(' ');
        out += time;
        out += seconds;
    }
    return true;
}

void showExportFailure(const QString &reason)
{
    ui::MsgBox(Sprintf(QStringLiteral("Can't export file:%n%s"), reason), ui::vbCritical, QStringLiteral("Export"));
}

ExportOutcome runExport(const QString &sql, const QString &defaultName, EventCode event)
{
    auto rows = OpenRecordset(sql, nullptr, true, db::adCmdText);
    if (!rows->isOpen()) {
        logError(QStringLiteral("modExport"), rows->lastError());
        showExportFailure(rows->lastError());
        return ExportOutcome::Failed;
    }
    const ExportOutcome outcome = WriteCsvExport(*rows, defaultName);
    if (outcome == ExportOutcome::Written)
        WriteEventLog(ui::Now(), event, QString());
    return outcome;
}

} // namespace

QString csvValueText(const QVariant &value)
{
    return ui::plainCellText(value, db::numberText);
}

QString csvField(const QVariant &value)
{
    QString field;
    appendField(field, csvValueText(value));
    return field;
}

bool writeCsvFile(db::Recordset &rows, const QString &localPath, QString *error)
{
    text::AnsiFileWriter file(localPath, databaseInUse());
    const auto fail = [&] {
        if (error)
            *error = file.errorString();
        return false;
    };
    if (!file.open())
        return fail();

    const int columns = rows.fieldCount();
    QString batch;
    batch.reserve(kWriteBatch + 4096);
    for (int column = 0; column < columns; ++column) {
        if (column > 0)
            batch += QLatin1Char(',');
        appendField(batch, rows.fieldName(column));
    }
    batch += QLatin1String("\r\n");

    std::vector<bool> isDate(static_cast<size_t>(columns), false);
    for (int column = 0; column < columns; ++column)
        isDate[size_t(column)] = rows.fieldType(column) == db::FieldType::Date;

    // Rows go to the file as they are formatted; the text of the whole export is never held.
    QString date;
    if (!rows.isEOF())
        rows.MoveFirst();
    while (!rows.isEOF()) {
        for (int column = 0; column < columns; ++column) {
            if (column > 0)
                batch += QLatin1Char(',');
            if (isDate[size_t(column)]) {
                const QVariant stored = rows.storedValue(column);
                date.clear();
                if (stored.typeId() == QMetaType::QString && appendStoredDate(date, stored.toString())) {
                    batch += QLatin1Char('"') + date + QLatin1Char('"');
                    continue;
                }
            }
            appendField(batch, csvValueText(rows.value(column)));
        }
        batch += QLatin1String("\r\n");
        if (batch.size() >= kWriteBatch) {
            if (!file.write(batch))
                return fail();
            batch.clear();
        }
        rows.MoveNext();
    }
    if (!file.write(batch) || !file.commit())
        return fail();
    return true;
}

ExportOutcome WriteCsvExport(db::Recordset &rows, const QString &defaultName)
{
    if (rows.isEOF() && rows.isBOF()) {
        ui::MsgBox(QStringLiteral("There is no data to export"), ui::vbExclamation, QStringLiteral("Export"));
        return ExportOutcome::NoData;
    }

    ui::FileDialogRequest request;
    request.title = QStringLiteral("Export Customers");
    request.fileName = defaultName;
    request.filter = QStringLiteral("All Files (*.*)|*.*|CSV Files(*.csv)|*.csv|Text Files (*.txt)|*.txt");
    request.filterIndex = 2;
    // The name is used as the user gives it; an existing file is replaced only when the user agrees.
    request.defaultExt = QString();
    request.initDir = QString();
    request.flags = ui::cdlOFNHideReadOnly | ui::cdlOFNOverwritePrompt | ui::cdlOFNPathMustExist;
    request.save = true;
    const QString path = dlgExport(request);
    if (path.isEmpty())
        return ExportOutcome::Cancelled;
    const QString refusal = paths::writeRefusal(path, databaseInUse());
    if (!refusal.isEmpty()) {
        showExportFailure(refusal);
        return ExportOutcome::Failed;
    }

    QString reason;
    if (!writeCsvFile(rows, paths::resolveForOpen(path), &reason)) {
        logError(QStringLiteral("modExport.WriteCsvExport"), path + QStringLiteral(": ") + reason);
        showExportFailure(reason);
        return ExportOutcome::Failed;
    }
    return ExportOutcome::Written;
}

QString customersSql()
{
    return QStringLiteral("SELECT Customer.* FROM Customer ORDER BY Customer.ID");
}

QString reservationsSql()
{
    return QLatin1String(kReservationColumns) + QLatin1String(kReservationSource) + QLatin1String(kReservationOrder);
}

QString todaysReservationsSql(const QDate &today)
{
    const QString day = QStringLiteral("%1/%2/%3").arg(today.month()).arg(today.day()).arg(today.year());
    return QLatin1String(kReservationColumns) + QLatin1String(kReservationSource)
        + QStringLiteral(" WHERE (((Booking.FromDate)<= #%1 23:59:59#) AND ((Booking.ToDate)>=#%1 0:00:01#))").arg(day)
        + QLatin1String(kReservationOrder);
}

ExportOutcome ExportCustomers()
{
    return runExport(customersSql(), QStringLiteral("Customer"), evCustomersExported);
}

ExportOutcome ExportReservations()
{
    return runExport(reservationsSql(), QStringLiteral("Reservations"), evReservationsExported);
}

ExportOutcome ExportTodaysReservations()
{
    return runExport(todaysReservationsSql(ui::Date()), QStringLiteral("ToDayReservations"),
                     evTodaysReservationsExported);
}

} // namespace quorl
