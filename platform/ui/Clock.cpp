#include "platform/ui/Clock.h"

#include "platform/ui/Services.h"

namespace quorl::ui {

QDateTime Now()
{
    return clockService().now();
}

QDate Date()
{
    return Now().date();
}

} // namespace quorl::ui
