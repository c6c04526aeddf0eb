#include "platform/text/AnsiFileWriter.h"

#include "platform/text/Text.h"

namespace quorl::text {

AnsiFileWriter::AnsiFileWriter(const QString &localPath, const QString &databasePath)
    : m_file(localPath, databasePath)
{
}

bool AnsiFileWriter::open()
{
    return m_file.open();
}

bool AnsiFileWriter::write(const QString &text)
{
    return m_file.write(toAnsi(text));
}

bool AnsiFileWriter::commit()
{
    return m_file.commit();
}

QString AnsiFileWriter::errorString() const
{
    return m_file.errorString();
}

} // namespace quorl::text
