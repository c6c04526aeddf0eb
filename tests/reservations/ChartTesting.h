#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>

namespace quorl {

// Collects what QAbstractItemModelTester reports in its warning mode, so a test can
// assert that a model kept its contract without the tester aborting the program.
class ModelTesterWarnings
{
public:
    ModelTesterWarnings() : m_previous(qInstallMessageHandler(&ModelTesterWarnings::handle)) { current() = this; }
    ~ModelTesterWarnings()
    {
        qInstallMessageHandler(m_previous);
        current() = nullptr;
    }
    ModelTesterWarnings(const ModelTesterWarnings &) = delete;
    ModelTesterWarnings &operator=(const ModelTesterWarnings &) = delete;

    QStringList failures() const { return m_failures; }

private:
    static ModelTesterWarnings *&current()
    {
        static ModelTesterWarnings *instance = nullptr;
        return instance;
    }
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (current() && type == QtWarningMsg && message.contains(QLatin1String("FAIL!")))
            current()->m_failures << message;
        else if (current() && current()->m_previous)
            current()->m_previous(type, context, message);
    }

    QtMessageHandler m_previous = nullptr;
    QStringList m_failures;
};

} // namespace quorl
