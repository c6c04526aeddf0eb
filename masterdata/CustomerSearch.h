#pragma once

#include <QString>

#include "masterdata/ContactRecord.h"

namespace quorl {

// The search boxes of the customer search, in the order their conditions are built.
struct CustomerSearchBoxes : ContactAddress
{
    QString TelNo;
    QString MobileNo;
    QString EmailAddress;
    QString MembershipNo;
};

// States of the club-member box: unticked, ticked, and greyed (no condition).
inline constexpr int kClubUnticked = 0;
inline constexpr int kClubTicked = 1;
inline constexpr int kClubGreyed = 2;

// The filter of one search: each filled box asks for values beginning with its
// text, the conditions joined by AND, then the club-member condition unless the
// box is greyed. "" when nothing is asked (the filter stays cleared).
QString customerSearchFilter(const CustomerSearchBoxes &boxes, int clubMemberState);

// The quoted LIKE pattern that matches the values beginning with the typed text,
// every character of it matched as typed (wildcards and apostrophes included).
QString likeBeginsWith(const QString &typed);

} // namespace quorl
