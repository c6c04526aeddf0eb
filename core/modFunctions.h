#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTime>

class QWidget;

namespace quorl {

namespace db {
class Connection;
class Recordset;
}

// The product title, with every "&" doubled so a label shows it as it stands.
QString ProductTitleForCaption();

// "v " + major.minor.revision of the program's version, e.g. "v 1.0.1".
QString VersionText();

// ---- Dates and the half-hour grid of bookings ----------------------------------------
//
// Booking times lie on a half-hour grid: minutes 0 and 30 stay, minutes 1-29 snap
// down to 0 or up to 30, minutes 31-59 snap down to 30 or up to 0 of the next hour.
// Seconds are dropped. The date-times made here are wall-clock readings, as the stored
// dates are (db::wallClockDateTime).

// The same day at midnight.
QDateTime DateOnly(const QDateTime &value);
QDateTime DateOnly(const QDate &value);

// The snapped time of day as wall-clock seconds after midnight, 0 to 86400: snapping
// up from 23:31 or later gives 86400, a whole day, so the day plus the result is
// midnight of the next day. Put it on a day with dateAtHalfHour: adding it with
// QDateTime::addSecs counts elapsed seconds, which on the day the clocks change
// lands an hour off the wall-clock time.
qint64 RoundTimeToHalfHour(const QTime &value, bool snapDown);
qint64 RoundTimeToHalfHour(const QDateTime &value, bool snapDown);

// The date-time moved onto the grid (23:45 snapped up is 00:00 of the next day).
QDateTime snapToHalfHour(const QDateTime &value, bool snapDown);

// A day from one picker and a time of day from another, put together on the grid.
QDateTime dateAtHalfHour(const QDate &day, const QTime &time, bool snapDown);

// The Jet literal of the snapped value, "#2026/3/8 9:0#" (no leading zeros). Snapping
// up after 23:30 gives "0:0" of the next day, never an hour of 24. An invalid value
// counts as the zero date, 30 December 1899.
QString SqlDateHalfHour(const QDateTime &value, bool snapDown = true);
QString SqlDateHalfHour(const QDate &value, bool snapDown = true);

// 30 December 1899, 00:00: the date a text that cannot be read gives.
QDateTime zeroDate();

// Reads a date from text by a pattern of the letters y M d h m (case-sensitive): each
// field is the text under that letter's span in the pattern; a missing or unreadable
// field is 0. Calendar folding applies: years 0-29 are 2000-2029 and 30-99 are
// 1930-1999, month 0 is December of the year before, day 0 the last day of the month
// before, and larger months, days, hours and minutes carry forward. So "ddMMyyyy" of
// "01022026" is 1 February 2026 and of "" or "notadate" 30 November 1999.
QDateTime ParseDateByFormat(const QString &text, const QString &pattern);

// ---- Enter-key navigation ---------------------------------------------------------------
//
// The tab index of a control: when a form gives its controls explicit indexes (the
// dynamic property "TabIndex", set with setTabIndex), that index; a control without
// one has none. Otherwise its position, counting from 0, among the form's tab
// controls in the order of the focus chain (the order setTabOrder arranges). Tab
// controls are the descendants that take focus by Tab and pass it to no proxy;
// labels, frames, group boxes, lines and images are never controls. A disabled or
// hidden control keeps its index and refuses the focus.

inline constexpr const char *kTabIndexProperty = "TabIndex";

void setTabIndex(QWidget *control, int tabIndex);

// The tab controls of the form in tab-index order.
QList<QWidget *> tabControls(QWidget *form);

// The tab index of a control (or of the widget it passes its focus to); -1 when it has none.
int tabIndexOf(const QWidget *control, QWidget *form);

// Moves the focus to the control at currentTabIndex + 1, passing over controls that
// refuse it; where no control has the next index (the last control, or a gap left by
// a label's index) it wraps to tab index 0. When that refuses too, the focus stays.
// currentTabIndex becomes the index of the control that took the focus. Returns
// whether the focus moved.
bool FocusNextControl(int &currentTabIndex, QWidget *form);

// The same, from the control that has the focus in the form.
bool FocusNextControl(QWidget *form);

// Whether the event is the Enter key (either key, whatever the shift state) pressed
// in one of form's own controls, not in a window it opened: the key a form takes
// before its controls to move the focus on.
bool isEnterKeyIn(const QWidget *form, QObject *watched, QEvent *event);

// ---- Window placement ---------------------------------------------------------------------

enum ShowFormMode : int { kShowInPlace = 0, kShowCentredOnParent = 1, kShowCentredOnScreen = 2, kShowAtParentOrigin = 3 };

// 0: show where it is; 1: centre over the parent window; 2: centre on the screen;
// 3: move to the parent's top left corner. The size is kept. 4 and above: nothing.
void ShowFormPositioned(QWidget *form, int mode);

// ---- Cascaded deletes ---------------------------------------------------------------------
//
// Each asks the user, then deletes the row with the rows depending on it, all or
// nothing (a savepoint, so also inside a dialog's open transaction). A failure leaves
// every row in place and throws quorl::db::Error. They write no event; the caller does.
// Afterwards the recordset stands on the row after the deleted one, or on the new
// last row when the deleted row was the last.

// The customer the recordset stands on, with the customer's bookings. False without a current row or on No.
bool DeleteCustomer(qint64 customerId, db::Recordset &recordset);

// The owner the recordset stands on, with the owner's berths. False without a current row or on No.
bool DeleteOwner(qint64 ownerId, db::Recordset &recordset);

// The berth with that ID in the recordset, with its booking lines and every booking
// then left without a berth. False on No.
bool DeleteBerth(qint64 berthId, db::Recordset &recordset);

// The booking with its booking lines, after the question "Do you want to delete
// existing reservation?". False on No.
bool ConfirmCancelBooking(qint64 bookingId);

// The booking and its booking lines, all or nothing, without a question. Returns the
// number of Booking rows deleted: 0 when it was gone already.
qint64 deleteBooking(db::Connection &connection, qint64 bookingId);

} // namespace quorl
