#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QtGlobal>

// How much room is left in a folder, asked of the folder itself. Tests replace the
// question to play a disk of any size, or one that cannot tell.

namespace quorl::paths {

// The bytes a program without root may still write in the folder's file system;
// nothing when that cannot be told (no such folder, no answer from the system).
std::optional<quint64> freeBytes(const QString &folder);

using FreeSpaceQuestion = std::function<std::optional<quint64>(const QString &folder)>;

// Makes freeBytes() ask question instead; an empty one asks the system again.
// Hands back the question it replaces, so a caller can put it back.
FreeSpaceQuestion setFreeSpaceQuestion(FreeSpaceQuestion question);

} // namespace quorl::paths
