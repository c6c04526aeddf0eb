#pragma once

#include <QString>

namespace quorl {

// What the owner dialog writes: the boxes' texts as they stand (not trimmed).
struct OwnerRecord
{
    QString Name;
    QString HouseName;
    QString Street;
    QString Area;
    QString Town;
    QString PostCode;
    QString MobileNo;
    QString EmailAddress;
    QString Notes;
};

QString ownerByIdSql(qint64 id);
QString ownerInsertSql(const OwnerRecord &owner);
QString ownerUpdateSql(const OwnerRecord &owner, qint64 id);

inline constexpr const char *kOwnerListSql = "SELECT Owner.* FROM Owner";

} // namespace quorl
