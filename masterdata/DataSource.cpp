#include "masterdata/DataSource.h"

#include <QRegularExpression>

#include "core/modDatabase.h"

namespace quorl {

QString connectionToDatabaseInUse(const QString &connectionString)
{
    if (!DbConnection || !DbConnection->isOpen())
        return connectionString;
    static const QRegularExpression dataSource(QStringLiteral("(Data Source\\s*=)[^;]*"),
                                               QRegularExpression::CaseInsensitiveOption);
    QString result = connectionString;
    const QString path = DbConnection->databasePath();
    const QRegularExpressionMatch match = dataSource.match(result);
    if (!match.hasMatch())
        return result + QStringLiteral(";Data Source=") + path + QLatin1Char(';');
    result.replace(match.capturedStart(), match.capturedLength(), match.captured(1) + path);
    return result;
}

} // namespace quorl
