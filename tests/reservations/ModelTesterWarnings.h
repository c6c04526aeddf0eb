#pragma once

#include <QLoggingCategory>
#include <QStringList>

namespace quorl {

// Collects what QAbstractItemModelTester reports in its warning mode, so a test can
// assert that a model kept its contract without the tester aborting the program.
class ModelTesterWarnings
{
public:
    ModelTesterWarnings() { s_current = this, m_previous = qInstallMessageHandler(&handle); }
    ~ModelTesterWarnings() { qInstallMessageHandler(m_previous), s_current = nullptr; }
    QStringList failures() const { return m_failures; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtWarningMsg && message.contains(QLatin1String("FAIL!")))
            s_current->m_failures << message;
        else if (s_current->m_previous)
            s_current->m_previous(type, context, message);
    }
    static inline ModelTesterWarnings *s_current = nullptr;
    QtMessageHandler m_previous = nullptr;
    QStringList m_failures;
};

} // namespace quorl
