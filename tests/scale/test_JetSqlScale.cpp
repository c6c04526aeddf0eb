// Side by side, IIFs translate in time that grows with their number. When each one
// moved all those after it, 30,000 of them took half a minute and 40,000 most of a
// minute; a return to that shows as this test running into its time-out.

#include <gtest/gtest.h>

#include <QString>

#include "platform/db/JetSql.h"

namespace {

TEST(JetSqlScale, ManyIifsSideBySideTranslateInOnePass)
{
    constexpr int kIifs = 30000;
    const QString sql = QStringLiteral("SELECT ") + QStringLiteral("IIF(ID = 1, 1, 0) + ").repeated(kIifs)
        + QStringLiteral("0 FROM Berth");
    const quorl::db::TranslatedSql out = quorl::db::translateJetSql(sql);
    EXPECT_EQ(out.sql.count(QStringLiteral("CASE WHEN (ID = 1) THEN (1) ELSE (0) END")), kIifs);
    EXPECT_FALSE(out.sql.contains(QStringLiteral("IIF"), Qt::CaseInsensitive));
}

TEST(JetSqlScale, ManyAmpersandsSideBySideTranslateInOnePass)
{
    constexpr int kParts = 20000;
    const QString sql = QStringLiteral("SELECT Name") + QStringLiteral(" & 'x'").repeated(kParts)
        + QStringLiteral(" FROM Berth");
    const quorl::db::TranslatedSql out = quorl::db::translateJetSql(sql);
    EXPECT_EQ(out.sql.count(QStringLiteral("coalesce('x', '')")), kParts);
}

} // namespace
