#include "core/modFunctions.h"

#include <cmath>

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include "core/ProductInfo.h"
#include "core/modDatabase.h"
#include "platform/db/Connection.h"
#include "platform/db/Error.h"
#include "platform/db/FieldValue.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/ui/MsgBox.h"

namespace quorl {

QString ProductTitleForCaption()
{
    QString title = QString::fromUtf8(kProductTitle);
    return title.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString VersionText()
{
    return QStringLiteral("v %1.%2.%3").arg(QUORL_VERSION_MAJOR).arg(QUORL_VERSION_MINOR).arg(QUORL_VERSION_PATCH);
}

// ---- Dates ---------------------------------------------------------------------------------

namespace {

constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

// Hour and minute on the half-hour grid; the hour may reach 24 when snapping up.
void snapMinutes(int &hour, int &minute, bool snapDown)
{
    if (minute == 0 || minute == 30)
        return;
    if (minute < 30) {
        minute = snapDown ? 0 : 30;
    } else if (snapDown) {
        minute = 30;
    } else {
        minute = 0;
        ++hour;
    }
}

// A field of a text read by a pattern: the part under the letter's span, as a number
// within [low, high], rounding halves to even; 0 when absent or unreadable.
int patternField(const QString &text, const QString &pattern, QChar letter, int low, int high)
{
    const qsizetype first = pattern.indexOf(letter);
    if (first < 0)
        return 0;
    const qsizetype last = pattern.lastIndexOf(letter);
    const QString part = text.mid(first, last - first + 1).trimmed();
    bool ok = false;
    const double number = part.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return 0;
    const double rounded = std::nearbyint(number);
    if (rounded < low || rounded > high)
        return 0;
    return static_cast<int>(rounded);
}

constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

} // namespace

QDateTime zeroDate()
{
    return db::wallClockDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

QDateTime DateOnly(const QDateTime &value)
{
    QDateTime result = value;
    result.setTime(QTime(0, 0));
    return result;
}

QDateTime DateOnly(const QDate &value)
{
    return db::wallClockDateTime(value, QTime(0, 0));
}

qint64 RoundTimeToHalfHour(const QTime &value, bool snapDown)
{
    if (!value.isValid())
        return 0;
    int hour = value.hour();
    int minute = value.minute();
    snapMinutes(hour, minute, snapDown);
    return hour * qint64(3600) + minute * qint64(60);
}

qint64 RoundTimeToHalfHour(const QDateTime &value, bool snapDown)
{
    return RoundTimeToHalfHour(value.time(), snapDown);
}

QDateTime dateAtHalfHour(const QDate &day, const QTime &time, bool snapDown)
{
    const qint64 seconds = RoundTimeToHalfHour(time, snapDown);
    // Whole days carry into the date so the wall-clock time stays exact on any day.
    return db::wallClockDateTime(day.addDays(seconds / kSecondsPerDay),
                                 QTime(0, 0).addSecs(int(seconds % kSecondsPerDay)));
}

QDateTime snapToHalfHour(const QDateTime &value, bool snapDown)
{
    const qint64 seconds = RoundTimeToHalfHour(value.time(), snapDown);
    QDateTime result = value;
    result.setDate(value.date().addDays(seconds / kSecondsPerDay));
    result.setTime(QTime(0, 0).addSecs(int(seconds % kSecondsPerDay)));
    return result;
}

QString SqlDateHalfHour(const QDateTime &value, bool snapDown)
{
    const QDateTime snapped = value.isValid() ? snapToHalfHour(value, snapDown) : zeroDate();
    const QDate d = snapped.date();
    const QTime t = snapped.time();
    return QStringLiteral("#%1/%2/%3 %4:%5#").arg(d.year()).arg(d.month()).arg(d.day()).arg(t.hour()).arg(t.minute());
}

QString SqlDateHalfHour(const QDate &value, bool snapDown)
{
    return SqlDateHalfHour(value.isValid() ? DateOnly(value) : QDateTime(), snapDown);
}

QDateTime ParseDateByFormat(const QString &text, const QString &pattern)
{
    int year = patternField(text, pattern, QLatin1Char('y'), -32768, 32767);
    const int month = patternField(text, pattern, QLatin1Char('M'), 0, 255);
    const int day = patternField(text, pattern, QLatin1Char('d'), 0, 255);
    const int hour = patternField(text, pattern, QLatin1Char('h'), 0, 255);
    const int minute = patternField(text, pattern, QLatin1Char('m'), 0, 255);

    if (year < 0)
        return zeroDate();
    if (year < 30)
        year += 2000;
    else if (year < 100)
        year += 1900;

    // Month 0 is December of the year before; months past 12 run into the next years.
    const int months = year * 12 + month - 1;
    const QDate firstOfMonth(months / 12, months % 12 + 1, 1);
    const int minutes = hour * 60 + minute;
    const QDate date = firstOfMonth.addDays(day - 1 + minutes / (24 * 60));
    if (!date.isValid() || date.year() < kFirstYear || date.year() > kLastYear)
        return zeroDate();
    return db::wallClockDateTime(date, QTime(0, 0).addSecs((minutes % (24 * 60)) * 60));
}

// ---- Enter-key navigation --------------------------------------------------------------------

namespace {

bool isNeverAControl(const QWidget *widget)
{
    return qobject_cast<const QLabel *>(widget) || qobject_cast<const QGroupBox *>(widget)
        || widget->metaObject() == &QFrame::staticMetaObject;
}

// The widget that really takes the focus when the control is given it.
QWidget *focusTarget(QWidget *control)
{
    QWidget *target = control;
    for (int depth = 0; depth < 16 && target->focusProxy(); ++depth)
        target = target->focusProxy();
    return target;
}

bool hasExplicitTabIndexes(QWidget *form)
{
    const QList<QWidget *> children = form->findChildren<QWidget *>();
    for (const QWidget *child : children) {
        if (child->property(kTabIndexProperty).isValid())
            return true;
    }
    return false;
}

bool acceptsFocus(QWidget *control, QWidget *form)
{
    QWidget *target = focusTarget(control);
    return control->isEnabled() && target->isEnabled() && control->isVisibleTo(form) && target->isVisibleTo(form)
        && target->focusPolicy() != Qt::NoFocus;
}

// Controls by tab index; with explicit indexes a gap may lie between two of them.
QList<std::pair<int, QWidget *>> indexedControls(QWidget *form)
{
    QList<std::pair<int, QWidget *>> result;
    if (!form)
        return result;
    if (hasExplicitTabIndexes(form)) {
        const QList<QWidget *> children = form->findChildren<QWidget *>();
        for (QWidget *child : children) {
            const QVariant index = child->property(kTabIndexProperty);
            if (index.isValid() && !isNeverAControl(child) && !child->isWindow())
                result.append({index.toInt(), child});
        }
        std::stable_sort(result.begin(), result.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        return result;
    }
    // The focus chain is a ring through every widget of the window.
    QWidget *widget = form;
    QList<QWidget *> seen;
    while ((widget = widget->nextInFocusChain()) && widget != form && !seen.contains(widget)) {
        seen.append(widget);
        if (!form->isAncestorOf(widget) || widget->focusProxy() || isNeverAControl(widget))
            continue;
        if (widget->focusPolicy() & Qt::TabFocus)
            result.append({int(result.size()), widget});
    }
    return result;
}

QWidget *controlAt(const QList<std::pair<int, QWidget *>> &controls, int tabIndex)
{
    for (const auto &[index, control] : controls) {
        if (index == tabIndex)
            return control;
    }
    return nullptr;
}

} // namespace

void setTabIndex(QWidget *control, int tabIndex)
{
    control->setProperty(kTabIndexProperty, tabIndex);
}

QList<QWidget *> tabControls(QWidget *form)
{
    QList<QWidget *> result;
    for (const auto &entry : indexedControls(form))
        result.append(entry.second);
    return result;
}

int tabIndexOf(const QWidget *control, QWidget *form)
{
    if (!control || !form)
        return -1;
    const auto controls = indexedControls(form);
    for (const auto &[index, candidate] : controls) {
        if (candidate == control)
            return index;
    }
    // The focus may sit in a part of a control, e.g. the editor of a spin box.
    for (const auto &[index, candidate] : controls) {
        if (focusTarget(candidate) == control)
            return index;
    }
    return -1;
}

bool FocusNextControl(int &currentTabIndex, QWidget *form)
{
    const auto controls = indexedControls(form);
    if (controls.isEmpty())
        return false;
    const int lastIndex = controls.last().first;
    for (int next = std::max(currentTabIndex + 1, 0); next <= lastIndex; ++next) {
        QWidget *control = controlAt(controls, next);
        if (!control)
            break;
        if (acceptsFocus(control, form)) {
            focusTarget(control)->setFocus(Qt::TabFocusReason);
            currentTabIndex = next;
            return true;
        }
    }
    QWidget *first = controlAt(controls, 0);
    if (first && acceptsFocus(first, form)) {
        focusTarget(first)->setFocus(Qt::TabFocusReason);
        currentTabIndex = 0;
        return true;
    }
    return false;
}

bool FocusNextControl(QWidget *form)
{
    if (!form)
        return false;
    int current = tabIndexOf(form->focusWidget(), form);
    return FocusNextControl(current, form);
}

// ---- Window placement -------------------------------------------------------------------------

void ShowFormPositioned(QWidget *form, int mode)
{
    if (!form || mode < kShowInPlace || mode > kShowAtParentOrigin)
        return;
    // A child window of the main window moves with the frame Qt puts around it.
    QWidget *frame = form;
    if (auto *subWindow = qobject_cast<QMdiSubWindow *>(form->parentWidget()))
        frame = subWindow;
    QWidget *parent = frame->isWindow() && frame->parentWidget() ? frame->parentWidget()->window()
                                                                   : frame->parentWidget();
    // A window's frame is known only once the window exists; the placement counts it in.
    if (frame->isWindow())
        frame->winId();
    const QSize size = frame->frameGeometry().size();
    // Where the window lands, in its parent's coordinates for a child, on the screen otherwise.
    auto placeAt = [frame](const QPoint &global) {
        frame->move(frame->isWindow() || !frame->parentWidget() ? global : frame->parentWidget()->mapFromGlobal(global));
    };
    QScreen *screen = frame->screen();
    const QRect screenRect = screen ? screen->geometry() : QRect();

    switch (mode) {
    case kShowCentredOnParent:
        if (parent) {
            const QRect area = frame->isWindow() ? parent->frameGeometry() : QRect(parent->mapToGlobal(QPoint(0, 0)), parent->size());
            placeAt(area.topLeft() + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2));
        } else if (screen) {
            placeAt(screenRect.topLeft()
                    + QPoint((screenRect.width() - size.width()) / 2, (screenRect.height() - size.height()) / 2));
        }
        break;
    case kShowCentredOnScreen:
        if (screen) {
            placeAt(screenRect.topLeft()
                    + QPoint((screenRect.width() - size.width()) / 2, (screenRect.height() - size.height()) / 2));
        }
        break;
    case kShowAtParentOrigin:
        if (parent)
            placeAt(parent->mapToGlobal(QPoint(0, 0)));
        else if (screen)
            placeAt(screenRect.topLeft());
        break;
    default:
        break;
    }
    frame->show();
    if (frame != form)
        form->show();
}

// ---- Cascaded deletes ---------------------------------------------------------------------------

namespace {

constexpr const char *kConfirmDeletionTitle = "Confirm deletion";
constexpr const char *kCancelBookingTitle = "Cancel booking";
constexpr const char *kShortQuestion = "Are you sure to delete this item?";

// The cascade joins the transaction of the connection the list's writes go through.
db::Connection &cascadeConnection(const db::Recordset &recordset)
{
    if (db::Connection *connection = recordset.ActiveConnection())
        return *connection;
    if (!DbConnection)
        throw db::Error(QStringLiteral("No database connection is open."));
    return *DbConnection;
}

qint64 countOf(db::Connection &connection, const QString &sql)
{
    const auto rows = connection.ExecuteQuery(sql);
    return rows->value(QStringLiteral("c")).toLongLong();
}

bool askToDelete(const QString &question)
{
    return ui::MsgBox(question, ui::vbYesNo, QString::fromUtf8(kConfirmDeletionTitle)) == ui::vbYes;
}

// After a row was deleted: on the row that followed it, or on the new last row.
void moveAfterDelete(db::Recordset &recordset)
{
    recordset.MoveNext();
    if (recordset.isEOF() && recordset.RecordCount() > 0)
        recordset.MovePrevious();
}

// The common shape of the customer and owner deletions: count the dependants, ask,
// delete them and the current row together.
bool deleteWithDependants(qint64 id, db::Recordset &recordset, const QString &countSql, const QString &question,
                          const QStringList &deleteSql)
{
    if (recordset.isBOF() || recordset.isEOF())
        return false;
    db::Connection &connection = cascadeConnection(recordset);
    const QString idText = db::sqlNumber(id);
    const bool hasDependants = countOf(connection, countSql + idText) > 0;
    if (!askToDelete(hasDependants ? question : QString::fromUtf8(kShortQuestion)))
        return false;

    db::Savepoint savepoint(connection);
    if (hasDependants) {
        for (const QString &sql : deleteSql)
            connection.Execute(sql.arg(idText));
    }
    recordset.Delete();
    savepoint.release();
    moveAfterDelete(recordset);
    return true;
}

} // namespace

bool DeleteCustomer(qint64 customerId, db::Recordset &recordset)
{
    // The booking lines go first, while their bookings still say whose they are; a
    // line left behind would keep its berth marked as booked by a booking that is gone.
    return deleteWithDependants(
        customerId, recordset, QStringLiteral("SELECT COUNT(ID) AS c FROM Booking WHERE CustomerID = "),
        QStringLiteral("Deleting this customer will also remove all past reservations. This would affect historic "
                       "reports. Are you sure you want to delete this customer?"),
        {QStringLiteral("DELETE FROM BookingBerth WHERE BookingID IN (SELECT ID FROM Booking WHERE CustomerID = %1)"),
         QStringLiteral("DELETE FROM Booking WHERE CustomerID = %1")});
}

bool DeleteOwner(qint64 ownerId, db::Recordset &recordset)
{
    return deleteWithDependants(
        ownerId, recordset, QStringLiteral("SELECT COUNT(ID) AS c FROM Berth WHERE OwnerID = "),
        QStringLiteral("Deleting this owner will also remove all owners berth. This would affect historic reports. "
                       "Are you sure you want to delete this owner?"),
        {QStringLiteral("DELETE FROM Berth WHERE OwnerID = %1")});
}

bool DeleteBerth(qint64 berthId, db::Recordset &recordset)
{
    db::Connection &connection = cascadeConnection(recordset);
    const QString idText = db::sqlNumber(berthId);
    const bool hasBookings =
        countOf(connection, QStringLiteral("SELECT COUNT(*) AS c FROM BookingBerth WHERE BerthID = ") + idText) > 0;
    const QString question = hasBookings
        ? QStringLiteral("Deleting this berth will also remove the reservations made with it. A reservation that "
                         "holds other berths as well keeps those. This would affect historic reports. Are you sure "
                         "you want to delete this berth?")
        : QString::fromUtf8(kShortQuestion);
    if (!askToDelete(question))
        return false;

    db::Savepoint savepoint(connection);
    recordset.MoveFirst();
    recordset.Find(QStringLiteral("ID = ") + idText);
    if (recordset.isEOF())
        throw db::Error(QStringLiteral("The berth to delete is not in the list."));
    if (hasBookings) {
        connection.Execute(QStringLiteral("DELETE FROM BookingBerth WHERE BerthID = ") + idText);
        connection.Execute(QStringLiteral("DELETE B.* FROM Booking B LEFT JOIN BookingBerth BB ON B.ID = BB.BookingID "
                                          "WHERE BB.BookingID is null"));
    }
    recordset.Delete();
    savepoint.release();
    moveAfterDelete(recordset);
    return true;
}

bool ConfirmCancelBooking(qint64 bookingId)
{
    if (ui::MsgBox(QStringLiteral("Do you want to delete existing reservation?"), ui::vbYesNo,
                   QString::fromUtf8(kCancelBookingTitle))
        != ui::vbYes)
        return false;
    if (!DbConnection)
        throw db::Error(QStringLiteral("No database connection is open."));
    deleteBooking(*DbConnection, bookingId);
    return true;
}

qint64 deleteBooking(db::Connection &connection, qint64 bookingId)
{
    const QString idText = db::sqlNumber(bookingId);
    db::Savepoint savepoint(connection);
    connection.Execute(QStringLiteral("DELETE FROM BookingBerth WHERE BookingID = ") + idText);
    const qint64 deleted = connection.Execute(QStringLiteral("DELETE FROM Booking WHERE ID = ") + idText);
    savepoint.release();
    return deleted;
}

bool isEnterKeyIn(const QWidget *form, QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()
        || static_cast<QWidget *>(watched)->window() != form)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace quorl
