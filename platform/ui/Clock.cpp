#include "platform/ui/Clock.h"

#include "platform/db/FieldValue.h"
#include "platform/ui/Services.h"

namespace quorl::ui {

QDateTime Now()
{
    // In the form of the stored dates, so "now" compares and counts with them as the
    // wall clock reads both.
    const QDateTime local = clockService().now();
    return db::wallClockDateTime(local.date(), local.time());
}

QDate Date()
{
    return Now().date();
}

} // namespace quorl::ui
