#include "masterdata/BerthList.h"

#include <cmath>

#include <QRegularExpression>

#include "core/modEventLog.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Clock.h"

namespace quorl {

std::optional<double> readBerthNumber(const QString &text, BerthNumberKind kind)
{
    static const QRegularExpression measure(
        QStringLiteral(R"(^[+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?$)"));
    static const QRegularExpression money(
        QStringLiteral(R"(^(?:[+-]?£?|£[+-]?)(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?$)"));
    QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QRegularExpression &pattern = kind == BerthNumberKind::Money ? money : measure;
    if (!pattern.match(trimmed).hasMatch())
        return std::nullopt;
    trimmed.remove(QChar(0x00A3));
    bool ok = false;
    const double value = trimmed.toDouble(&ok);   // QString::toDouble reads the C locale
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    if (kind == BerthNumberKind::Money && std::fabs(value) > kMaxMoney)
        return std::nullopt;
    return value;
}

bool isValidBerthNumber(const QString &text, BerthNumberKind kind)
{
    return text.trimmed().isEmpty() || readBerthNumber(text, kind).has_value();
}

QString berthAddedDetails(const QString &name)
{
    return QStringLiteral("Name: '") + name + QLatin1Char('\'');
}

QString berthActivationDetails(const QString &name, bool active)
{
    return QStringLiteral("Berth '") + name + QStringLiteral("' ")
        + (active ? QStringLiteral("activated") : QStringLiteral("inactivated"));
}

QString berthDeletedDetails(const QString &listEntryText)
{
    return QStringLiteral("Name: '") + listEntryText + QLatin1Char('\'');
}

std::unique_ptr<db::Recordset> newOperationLog()
{
    auto operationLog = std::make_unique<db::Recordset>();
    operationLog->appendField(QStringLiteral("oper"), db::FieldType::Long);
    operationLog->appendField(QStringLiteral("descr"), db::FieldType::Text);
    operationLog->Open();
    return operationLog;
}

void logOperation(db::Recordset &operationLog, int oper, const QString &descr)
{
    operationLog.AddNew();
    operationLog.setValue(QStringLiteral("oper"), oper);
    operationLog.setValue(QStringLiteral("descr"), descr);
    operationLog.Update();
}

void writeOperationLog(db::Recordset &operationLog)
{
    if (operationLog.RecordCount() == 0)
        return;
    for (operationLog.MoveFirst(); !operationLog.isEOF(); operationLog.MoveNext())
        WriteEventLog(ui::Now(), operationLog.value(QStringLiteral("oper")).toInt(),
                      operationLog.value(QStringLiteral("descr")).toString());
}

} // namespace quorl
