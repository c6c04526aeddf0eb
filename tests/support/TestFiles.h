#pragma once

#include <QByteArray>
#include <QString>

namespace quorl {

// The file's bytes, or "<missing>" when it cannot be read, so that a comparison
// with expected bytes fails with a readable value.
QByteArray readFile(const QString &path);

// Writes bytes over the file; the test fails when it cannot be opened.
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace quorl
