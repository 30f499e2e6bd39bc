#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <variant>

namespace lorvane {

// The persistent settings: one group of named values per instance (`key` is the instance's
// SettingsKey, "Lorvane" or "Lorvane - <name>"). Numbers are 32-bit signed integers, texts are
// stored with their terminating NUL. Nothing is cached: every call opens the store, does its
// work and closes it again. Reads never fail and never create anything.

// Reads a number. A missing store, group or value, a text value or a damaged line gives `def`.
int32_t RegRead(const QString& key, const QString& name, int32_t def);

// Reads a text. Anything unreadable (also a number value, an empty stored value, or one of more
// than 1024 stored bytes counting its NUL) gives `def`. One trailing NUL is dropped.
QString RegRead(const QString& key, const QString& name, const QString& def);

// Writes a number (any integer, floating-point or bool value) as the nearest 32-bit signed
// integer, halves going to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). A value with no
// such integer (NaN, infinities, beyond the 32-bit range after rounding) is not written.
// Returns true when the value was stored.
// A number that the program holds in 16 bits; a stored number that does not fit counts as
// missing and gives the default.
int16_t RegReadInt16(const QString& key, const QString& name, int16_t def);

bool RegWrite(const QString& key, const QString& name, double value);

// Writes a text with its terminating NUL. Returns true when the value was stored.
bool RegWrite(const QString& key, const QString& name, const QString& value);

// Removes the instance's group with all its values. Returns true when the store itself could be
// opened, whatever the removal did; false when there is no store or it cannot be read.
bool RegDelete(const QString& key);

#ifndef _WIN32
// Where the settings file lives: "$XDG_CONFIG_HOME/Tessaly Software/Lorvane.ini", or below
// "~/.config" when XDG_CONFIG_HOME is unset, empty or not an absolute path. Computed afresh on
// every call.
QString settingsFilePath();
#endif

// What a platform store keeps: a 32-bit number (two's complement) or the bytes of a text as
// stored, NUL included. The rules above live in settings_store.cpp; each platform supplies the
// three functions below (ini_store.cpp, registry_store_win.cpp).
namespace settings_backend {

using RawValue = std::variant<uint32_t, QByteArray>;

// The stored value, or nullopt when the store, the group or the value cannot be read.
std::optional<RawValue> load(const QString& key, const QString& name);
// Stores the value, creating the store and the group when missing.
bool store(const QString& key, const QString& name, const RawValue& value);
// Removes the group; the result tells whether the store could be opened.
bool removeGroup(const QString& key);

}  // namespace settings_backend

}  // namespace lorvane
