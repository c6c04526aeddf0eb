#include "support/QuorlTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/db/Database.h"
#include "platform/paths/Paths.h"

namespace quorl {

struct QuorlTest::Script {
    struct ExpectedMessage {
        QString promptSubstring;
        int answer;
    };
    QDateTime now = QuorlTest::defaultNow();
    QList<ExpectedMessage> expectedMessages;
    QList<ui::MessageRequest> messages;
    QStringList expectedFileDialogs;
    QList<ui::FileDialogRequest> fileDialogRequests;
    QList<ShellCall> shellCalls;
    bool shellResult = true;
};

namespace {

std::string describe(const ui::MessageRequest &request)
{
    return QStringLiteral("\"%1\" titled \"%2\" (buttons %3)")
        .arg(request.prompt, request.title)
        .arg(request.buttons)
        .toStdString();
}

class ScriptedMessageBox final : public ui::MessageBoxService {
public:
    explicit ScriptedMessageBox(std::shared_ptr<QuorlTest::Script> script)
        : m_script(std::move(script))
    {
    }

    int show(const ui::MessageRequest &request) override
    {
        m_script->messages += request;
        const QList<int> offered = ui::buttonResults(request.buttons);
        if (m_script->expectedMessages.isEmpty()) {
            ADD_FAILURE() << "Unexpected message box " << describe(request);
            return offered.first();
        }
        const auto expected = m_script->expectedMessages.takeFirst();
        if (!request.prompt.contains(expected.promptSubstring)) {
            ADD_FAILURE() << "Message box " << describe(request) << " shown where one containing \""
                          << expected.promptSubstring.toStdString() << "\" was expected";
        }
        if (!offered.contains(expected.answer)) {
            ADD_FAILURE() << "Message box " << describe(request) << " has no button answering "
                          << expected.answer;
        }
        return expected.answer;
    }

private:
    std::shared_ptr<QuorlTest::Script> m_script;
};

class ScriptedFileDialog final : public ui::FileDialogService {
public:
    explicit ScriptedFileDialog(std::shared_ptr<QuorlTest::Script> script)
        : m_script(std::move(script))
    {
    }

    QString show(const ui::FileDialogRequest &request) override
    {
        m_script->fileDialogRequests += request;
        if (m_script->expectedFileDialogs.isEmpty()) {
            ADD_FAILURE() << "Unexpected file dialog \"" << request.title.toStdString() << "\"";
            return QString();
        }
        return m_script->expectedFileDialogs.takeFirst();
    }

private:
    std::shared_ptr<QuorlTest::Script> m_script;
};

class ScriptedShell final : public ui::ShellService {
public:
    explicit ScriptedShell(std::shared_ptr<QuorlTest::Script> script)
        : m_script(std::move(script))
    {
    }

    bool openUrl(const QString &urlOrMailto) override
    {
        m_script->shellCalls += ShellCall{QStringLiteral("openUrl"), urlOrMailto, {}};
        return m_script->shellResult;
    }

    bool startProgram(const QString &program, const QStringList &args) override
    {
        m_script->shellCalls += ShellCall{QStringLiteral("startProgram"), program, args};
        return m_script->shellResult;
    }

    bool deleteFile(const QString &localPath) override
    {
        m_script->shellCalls += ShellCall{QStringLiteral("deleteFile"), localPath, {}};
        return QFileInfo(localPath).isFile() && QFile::remove(localPath);
    }

private:
    std::shared_ptr<QuorlTest::Script> m_script;
};

class FixedClock final : public ui::ClockService {
public:
    explicit FixedClock(std::shared_ptr<QuorlTest::Script> script)
        : m_script(std::move(script))
    {
    }

    QDateTime now() override { return m_script->now; }

private:
    std::shared_ptr<QuorlTest::Script> m_script;
};

} // namespace

QuorlTest::QuorlTest()
    : m_script(std::make_shared<Script>())
{
}

QuorlTest::~QuorlTest() = default;

void QuorlTest::saveVariable(const char *name)
{
    SavedVariable saved;
    saved.name = name;
    saved.wasSet = qEnvironmentVariableIsSet(name);
    saved.value = qgetenv(name);
    m_savedVariables += saved;
}

void QuorlTest::setVariable(const char *name, const QString &value)
{
    saveVariable(name);
    qputenv(name, QFile::encodeName(value));
}

void QuorlTest::unsetVariable(const char *name)
{
    saveVariable(name);
    qunsetenv(name);
}

void QuorlTest::SetUp()
{
    m_world = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_world->isValid()) << "No temporary folder: " << m_world->errorString().toStdString();

    const QString root = m_world->path();
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("drive_c/Quorlc/data")));
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("program")));
    setVariable("QUORL_DRIVE_C", root + QStringLiteral("/drive_c"));
    setVariable("QUORL_REGISTRY", root + QStringLiteral("/registry.ini"));
    m_savedProgramFolder = paths::programFolder();
    paths::setProgramFolder(root + QStringLiteral("/program"));

    m_previousMessageBox = ui::setMessageBoxService(std::make_unique<ScriptedMessageBox>(m_script));
    m_previousFileDialog = ui::setFileDialogService(std::make_unique<ScriptedFileDialog>(m_script));
    m_previousShell = ui::setShellService(std::make_unique<ScriptedShell>(m_script));
    m_previousClock = ui::setClockService(std::make_unique<FixedClock>(m_script));
    m_servicesInstalled = true;

    m_databasePath = paths::resolve(QStringLiteral("c:\\Quorlc\\data\\DB.mdb"));
    QFile schema(QStringLiteral(QUORL_SCHEMA_PATH));
    ASSERT_TRUE(schema.open(QIODevice::ReadOnly)) << "No schema at " << QUORL_SCHEMA_PATH;
    try {
        db::createDatabaseFile(m_databasePath, QString::fromUtf8(schema.readAll()));
    } catch (const db::Error &e) {
        FAIL() << "The starter database could not be made: " << e.message().toStdString();
    }
}

void QuorlTest::TearDown()
{
    for (const auto &expected : std::as_const(m_script->expectedMessages)) {
        ADD_FAILURE() << "Expected message box never shown: one containing \""
                      << expected.promptSubstring.toStdString() << "\"";
    }
    for (const QString &answer : std::as_const(m_script->expectedFileDialogs))
        ADD_FAILURE() << "Expected file dialog never shown (its answer: \"" << answer.toStdString() << "\")";
    m_script->expectedMessages.clear();
    m_script->expectedFileDialogs.clear();

    if (m_servicesInstalled) {
        ui::setMessageBoxService(std::move(m_previousMessageBox));
        ui::setFileDialogService(std::move(m_previousFileDialog));
        ui::setShellService(std::move(m_previousShell));
        ui::setClockService(std::move(m_previousClock));
        m_servicesInstalled = false;
    }
    if (m_world) {
        paths::setProgramFolder(m_savedProgramFolder);
        for (auto it = m_savedVariables.crbegin(); it != m_savedVariables.crend(); ++it) {
            if (it->wasSet)
                qputenv(it->name.constData(), it->value);
            else
                qunsetenv(it->name.constData());
        }
        m_savedVariables.clear();
        m_world.reset();
    }
}

QString QuorlTest::worldDir() const
{
    return m_world ? m_world->path() : QString();
}

QString QuorlTest::driveC() const
{
    return worldDir() + QStringLiteral("/drive_c");
}

QString QuorlTest::databasePath() const
{
    return m_databasePath;
}

QString QuorlTest::programDir() const
{
    return worldDir() + QStringLiteral("/program");
}

QDateTime QuorlTest::defaultNow()
{
    return QDateTime(QDate(2026, 12, 8), QTime(10, 47, 0));
}

void QuorlTest::setNow(const QDateTime &now)
{
    m_script->now = now;
}

void QuorlTest::expectMessage(const QString &promptSubstring, int answer)
{
    m_script->expectedMessages += Script::ExpectedMessage{promptSubstring, answer};
}

const QList<ui::MessageRequest> &QuorlTest::messages() const
{
    return m_script->messages;
}

void QuorlTest::expectFileDialog(const QString &answer)
{
    m_script->expectedFileDialogs += answer;
}

const QList<ui::FileDialogRequest> &QuorlTest::fileDialogRequests() const
{
    return m_script->fileDialogRequests;
}

const QList<ShellCall> &QuorlTest::shellCalls() const
{
    return m_script->shellCalls;
}

void QuorlTest::setShellResult(bool ok)
{
    m_script->shellResult = ok;
}

} // namespace quorl
