#pragma once

#include <QString>
#include <QVariant>

namespace quorl {

// What the customer dialog writes: the boxes' texts as they stand (not trimmed)
// and the club-member tick as 0 or 1.
struct CustomerRecord
{
    QString Name;
    QString HouseName;
    QString Street;
    QString Area;
    QString Town;
    QString PostCode;
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

// Details of the added/modified events of customers and owners: "Name: '...' HouseName: '...'".
QString savedContactEventDetails(const QString &name, const QString &houseName);

// Details of the deleted events, taken from the list's current row before the
// delete: "Name: ..., HouseName: ..." where a Null adds nothing.
QString deletedContactEventDetails(const QVariant &name, const QVariant &houseName);

} // namespace quorl
