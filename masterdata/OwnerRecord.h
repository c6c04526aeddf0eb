#pragma once

#include <QString>

#include "masterdata/ContactRecord.h"

namespace quorl {

// What the owner dialog writes: the boxes' texts as they stand (not trimmed).
struct OwnerRecord : ContactAddress
{
    QString MobileNo;
    QString EmailAddress;
    QString Notes;
};

QString ownerByIdSql(qint64 id);
QString ownerInsertSql(const OwnerRecord &owner);
QString ownerUpdateSql(const OwnerRecord &owner, qint64 id);

inline constexpr const char *kOwnerListSql = "SELECT Owner.* FROM Owner";

} // namespace quorl
