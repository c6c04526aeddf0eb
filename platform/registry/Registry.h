#pragma once

#include <QString>

// The program's settings as registry-like string values, kept in one INI file.
// Every call reads the file afresh, so another process's writes are seen at once,
// and every write replaces the file whole, so a crash never leaves half of it.

namespace quorl {

constexpr quint32 HKEY_CLASSES_ROOT = 0x80000000u;
constexpr quint32 HKEY_CURRENT_USER = 0x80000001u;
constexpr quint32 HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr quint32 HKEY_USERS = 0x80000003u;
constexpr quint32 HKEY_CURRENT_CONFIG = 0x80000005u;

// A missing key or value, or a value that is not plain text, gives defaultValue;
// an empty text value gives "".
QString GetRegistryValue(quint32 rootKey, const QString &keyPath, const QString &valueName,
                         const QString &defaultValue);

// Stores value as text, creating the key path as needed. A write that cannot be
// made is lost, as the registry's was; the next read gives the old value.
void SetRegistryValue(quint32 rootKey, const QString &keyPath, const QString &valueName,
                      const QString &value);

namespace registry {

// $QUORL_REGISTRY, else $XDG_CONFIG_HOME/quorl-marina/registry.ini (~/.config by default).
QString filePath();

// Stores a value of any type, e.g. ("REG_DWORD", "1"), as an installer or another
// program could have left it.
void setRawValueForTesting(quint32 root, const QString &keyPath, const QString &name,
                           const QString &typeTag, const QString &value);

} // namespace registry
} // namespace quorl
