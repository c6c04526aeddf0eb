#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

namespace quorl {

// An archive in the archive library's format, made with the program's password, that
// unpacks to prefix followed by zeros and declares declaredSize in its header. The
// zeros are never held: a 2 GB bomb is a few megabytes written in a moment.
void writeBombArchive(const QString &path, const QByteArray &prefix, quint64 zeros, quint64 declaredSize);

// Runs call and returns whether it opened the FIFO at path and waited there for a
// writer. A writer comes after a few seconds, so a call that would wait for good ends
// and the test reports it instead of hanging. For any other path call just runs.
bool waitedOnFifo(const QString &path, const std::function<void()> &call);

} // namespace quorl
