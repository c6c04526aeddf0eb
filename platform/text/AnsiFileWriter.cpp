#include "platform/text/AnsiFileWriter.h"

#include <QFileInfo>

#include "platform/text/Text.h"

namespace quorl::text {

AnsiFileWriter::AnsiFileWriter(const QString &localPath)
    : m_file(localPath)
{
}

AnsiFileWriter::~AnsiFileWriter()
{
    if (m_file.isOpen())
        m_file.cancelWriting();
}

bool AnsiFileWriter::open()
{
    // A folder of that name would be refused only at the rename, after all the work.
    if (QFileInfo(m_file.fileName()).isDir()) {
        m_failed = true;
        m_error = QStringLiteral("Is a directory");
        return false;
    }
    if (!m_file.open(QIODevice::WriteOnly)) {
        m_failed = true;
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

bool AnsiFileWriter::write(const QString &text)
{
    if (m_failed || !m_file.isOpen())
        return false;
    const QByteArray bytes = toAnsi(text);
    if (m_file.write(bytes) != bytes.size()) {
        m_failed = true;
        m_error = m_file.errorString();
        m_file.cancelWriting();
    }
    return !m_failed;
}

bool AnsiFileWriter::commit()
{
    if (m_failed || !m_file.isOpen())
        return false;
    if (!m_file.commit()) {
        m_failed = true;
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

QString AnsiFileWriter::errorString() const
{
    return m_error;
}

} // namespace quorl::text
