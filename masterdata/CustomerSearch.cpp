#include "masterdata/CustomerSearch.h"

#include <array>
#include <utility>

#include "platform/db/Error.h"
#include "platform/db/SqlText.h"

namespace quorl {

// Every character typed is matched as typed: the wildcards are bracketed as data, and
// the apostrophe is SqlQuote's affair. "O'B*" finds "O'B*rien", not every "O'B...".
QString likeBeginsWith(const QString &typed)
{
    return db::SqlQuote(db::escapeLikeText(typed) + QLatin1Char('*'));
}

QString customerSearchFilter(const CustomerSearchBoxes &boxes, int clubMemberState)
{
    const std::array<std::pair<const char *, const QString *>, 10> conditions{{
        {"Name LIKE ", &boxes.Name},
        {"HouseName LIKE ", &boxes.HouseName},
        {"Street LIKE ", &boxes.Street},
        {"Area LIKE ", &boxes.Area},
        {"Town LIKE ", &boxes.Town},
        {"PostCode LIKE ", &boxes.PostCode},
        {"TelNo LIKE ", &boxes.TelNo},
        {"MobileNo LIKE ", &boxes.MobileNo},
        {"EmailAddress LIKE ", &boxes.EmailAddress},
        {"MembershipNO LIKE ", &boxes.MembershipNo},
    }};

    QString filter;
    for (const auto &[prefix, text] : conditions) {
        if (!text->isEmpty())
            filter += QString::fromLatin1(prefix) + likeBeginsWith(*text) + QStringLiteral(" AND ");
    }

    const bool greyed = clubMemberState == kClubGreyed;
    const QString club = QString::number(clubMemberState == kClubTicked ? 1 : 0);
    if (!filter.isEmpty() && greyed)
        filter.chop(5);
    else if (!filter.isEmpty())
        filter += QStringLiteral(" ClubMember = ") + club;
    else if (!greyed)
        filter = QStringLiteral("ClubMember = ") + club;
    return filter;
}

} // namespace quorl
