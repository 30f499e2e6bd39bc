#include "ini_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>

namespace lorvane {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr QByteArrayView kNumberPrefix = "dword:";
constexpr QByteArrayView kTextPrefix = "sz:";

// Characters that would end a line or look like an escape, and the letter written after "\".
constexpr std::pair<char, char> kEscapes[] = {{'\\', '\\'}, {'\r', 'r'}, {'\n', 'n'}, {'\0', '0'}};

bool needsPercent(unsigned char c) {
    return c < 0x20 || c == 0x7F || QByteArrayView("%[]/\\=").contains(static_cast<char>(c));
}

QByteArray encodeName(const QString& name) {
    QByteArray out;
    for (const char byte : name.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        if (needsPercent(c)) {
            out += '%';
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 0x0F];
        } else {
            out += byte;
        }
    }
    return out;
}

QByteArray escapeText(const QByteArray& text) {
    QByteArray out;
    for (const char c : text) {
        const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                          [c](const auto& e) { return e.first == c; });
        if (escape == std::end(kEscapes)) {
            out += c;
        } else {
            out += '\\';
            out += escape->second;
        }
    }
    return out;
}

// nullopt for a "\" that is last or followed by an unknown letter.
std::optional<QByteArray> unescapeText(QByteArrayView text) {
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        const char letter = text[i];
        const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                          [letter](const auto& e) { return e.second == letter; });
        if (escape == std::end(kEscapes)) return std::nullopt;
        out += escape->first;
    }
    return out;
}

QByteArray encodeValue(const settings_backend::RawValue& value) {
    if (const auto* number = std::get_if<uint32_t>(&value))
        return kNumberPrefix.toByteArray() + QByteArray::number(*number, 16).rightJustified(8, '0');
    return kTextPrefix.toByteArray() + escapeText(std::get<QByteArray>(value));
}

std::optional<settings_backend::RawValue> decodeValue(QByteArrayView value) {
    if (value.startsWith(kTextPrefix)) {
        auto text = unescapeText(value.sliced(kTextPrefix.size()));
        if (!text) return std::nullopt;
        return *std::move(text);
    }
    if (!value.startsWith(kNumberPrefix)) return std::nullopt;
    const QByteArrayView digits = value.sliced(kNumberPrefix.size());
    if (digits.size() != 8) return std::nullopt;
    for (const char c : digits) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) return std::nullopt;
    }
    return static_cast<uint32_t>(digits.toByteArray().toUInt(nullptr, 16));
}

}  // namespace

IniDocument IniDocument::parse(const QByteArray& text) {
    IniDocument doc;
    qsizetype current = -1;  // -1: lines here belong to no group and are dropped
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.startsWith('[')) {
            current = -1;
            if (line.size() < 2 || !line.endsWith(']')) continue;
            current = doc.groupIndex(line.mid(1, line.size() - 2));
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (current >= 0 && equals >= 0)
            setEntry(doc.groups_[current], line.left(equals), line.mid(equals + 1));
    }
    return doc;
}

QByteArray IniDocument::toBytes() const {
    QByteArray out;
    for (const Group& group : groups_) {
        if (!out.isEmpty()) out += '\n';
        out += '[' + group.header + "]\n";
        for (const Entry& entry : group.entries) out += entry.name + '=' + entry.value + '\n';
    }
    return out;
}

std::optional<settings_backend::RawValue> IniDocument::value(const QString& group,
                                                             const QString& name) const {
    const QByteArray header = encodeName(group);
    const auto found = std::find_if(groups_.cbegin(), groups_.cend(),
                                    [&](const Group& g) { return g.header == header; });
    if (found == groups_.cend()) return std::nullopt;
    const QByteArray entryName = encodeName(name);
    for (const Entry& entry : found->entries)
        if (entry.name == entryName) return decodeValue(entry.value);
    return std::nullopt;
}

void IniDocument::setValue(const QString& group, const QString& name,
                           const settings_backend::RawValue& value) {
    setEntry(groups_[groupIndex(encodeName(group))], encodeName(name), encodeValue(value));
}

bool IniDocument::removeGroup(const QString& group) {
    const QByteArray header = encodeName(group);
    return groups_.removeIf([&](const Group& g) { return g.header == header; }) > 0;
}

qsizetype IniDocument::groupIndex(const QByteArray& header) {
    for (qsizetype i = 0; i < groups_.size(); ++i)
        if (groups_[i].header == header) return i;
    groups_.append(Group{header, {}});
    return groups_.size() - 1;
}

void IniDocument::setEntry(Group& group, const QByteArray& name, const QByteArray& value) {
    for (Entry& entry : group.entries) {
        if (entry.name == name) {
            entry.value = value;
            return;
        }
    }
    group.entries.append(Entry{name, value});
}

QString settingsFilePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Tessaly Software/Lorvane.ini");
}

namespace settings_backend {

namespace {

// A read-modify-write takes milliseconds; a lock older than this was left by a hung or
// crashed writer (a lock whose process is gone is taken over at once).
constexpr int kStaleLockMs = 5000;
// Longer than the stale time, so that a writer waiting on a stale lock can take it over.
constexpr int kLockWaitMs = 6000;

std::optional<QByteArray> readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return text;
}

// One read-modify-write of the settings file under the lock beside it, so that two programs
// writing at once keep each other's groups; the new file replaces the old one in one rename.
// `change` returns false when it changed nothing, which skips the write.
bool rewrite(const QString& path, const std::function<bool(IniDocument&)>& change) {
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(kLockWaitMs)) return false;
    IniDocument doc;
    if (QFileInfo::exists(path)) {
        const auto text = readFile(path);
        if (!text) return false;  // never replace a file that could not be read
        doc = IniDocument::parse(*text);
    }
    if (!change(doc)) return true;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(doc.toBytes());
    return out.commit();
}

}  // namespace

std::optional<RawValue> load(const QString& key, const QString& name) {
    const auto text = readFile(settingsFilePath());
    if (!text) return std::nullopt;
    return IniDocument::parse(*text).value(key, name);
}

bool store(const QString& key, const QString& name, const RawValue& value) {
    const QString path = settingsFilePath();
    if (!QDir().mkpath(QFileInfo(path).path())) return false;
    return rewrite(path, [&](IniDocument& doc) {
        doc.setValue(key, name, value);
        return true;
    });
}

bool removeGroup(const QString& key) {
    const QString path = settingsFilePath();
    if (!readFile(path)) return false;
    rewrite(path, [&](IniDocument& doc) { return doc.removeGroup(key); });
    return true;
}

}  // namespace settings_backend

}  // namespace lorvane
