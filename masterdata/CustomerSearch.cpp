#include "masterdata/CustomerSearch.h"

#include <array>
#include <utility>

#include "platform/db/Error.h"

namespace quorl {

// In a LIKE pattern "*" and "%" are wildcards and "[x]" stands for the character x,
// so each of the three characters typed is put in brackets: "O'B*" finds "O'B*rien"
// and not every name beginning with "O'B". The apostrophe is SqlQuote's affair.
QString likeBeginsWith(const QString &typed)
{
    QString pattern;
    pattern.reserve(typed.size() + 8);
    for (const QChar c : typed) {
        if (c == QLatin1Char('*') || c == QLatin1Char('%') || c == QLatin1Char('['))
            pattern += QLatin1Char('[') + c + QLatin1Char(']');
        else
            pattern += c;
    }
    return db::SqlQuote(pattern + QLatin1Char('*'));
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
