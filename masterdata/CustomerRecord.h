#pragma once

#include <QString>

#include "masterdata/ContactRecord.h"

namespace quorl {

// What the customer dialog writes: the boxes' texts as they stand (not trimmed)
// and the club-member tick as 0 or 1.
struct CustomerRecord : ContactAddress
{
    QString TelNo;
    QString MobileNo;
    QString EmailAddress;
    QString Notes;
    int ClubMember = 0;
    QString MembershipNo;
};

QString customerByIdSql(qint64 id);
QString customerInsertSql(const CustomerRecord &customer);
QString customerUpdateSql(const CustomerRecord &customer, qint64 id);

inline constexpr const char *kCustomerListSql = "SELECT Customer.* FROM Customer";
inline constexpr const char *kCustomerNewestIdSql = "SELECT MAX(ID) as M FROM Customer";

} // namespace quorl
