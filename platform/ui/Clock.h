#pragma once

#include <QDate>
#include <QDateTime>

namespace quorl::ui {

class ClockService {
public:
    virtual ~ClockService() = default;
    // Local time, whole seconds.
    virtual QDateTime now() = 0;
};

// The local wall-clock time as a wall-clock date-time (db::wallClockDateTime).
QDateTime Now();
QDate Date();

} // namespace quorl::ui
