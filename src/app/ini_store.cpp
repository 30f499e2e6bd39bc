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

// A line whose first character other than blanks is one of these is a comment.
bool startsComment(char c) { return c == ';' || c == '#'; }

QByteArray encodeName(const QString& name) {
    QByteArray out;
    for (const char byte : name.toUtf8()) {
        const auto c = static_cast<unsigned char>(byte);
        // A comment mark after nothing but blanks would still make a comment of the line.
        if (needsPercent(c) || (out.trimmed().isEmpty() && startsComment(byte))) {
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

// What a line of the file is.
struct LineKind {
    enum Kind { Header, DamagedHeader, Value, Comment, Blank, Other } kind;
    QByteArrayView key;    // the group of a header, the name of a value line
    QByteArrayView value;  // the text after "=" of a value line
};

LineKind classify(QByteArrayView line) {
    if (line.endsWith('\r')) line.chop(1);
    if (line.startsWith('[')) {
        if (line.size() < 2 || !line.endsWith(']')) return {LineKind::DamagedHeader, {}, {}};
        return {LineKind::Header, line.sliced(1, line.size() - 2), {}};
    }
    const QByteArrayView text = line.trimmed();
    if (text.isEmpty()) return {LineKind::Blank, {}, {}};
    if (startsComment(text.front())) return {LineKind::Comment, {}, {}};
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) return {LineKind::Other, {}, {}};
    return {LineKind::Value, line.first(equals), line.sliced(equals + 1)};
}

bool isHeader(const LineKind& line) {
    return line.kind == LineKind::Header || line.kind == LineKind::DamagedHeader;
}

}  // namespace

IniDocument IniDocument::parse(const QByteArray& text) {
    IniDocument doc;
    if (text.isEmpty()) return doc;
    doc.finalLineFeed_ = text.endsWith('\n');
    doc.lines_ = (doc.finalLineFeed_ ? text.chopped(1) : text).split('\n');
    return doc;
}

QByteArray IniDocument::toBytes() const {
    QByteArray out = lines_.join('\n');
    if (finalLineFeed_ && !lines_.isEmpty()) out += '\n';
    return out;
}

QList<IniDocument::Section> IniDocument::sections(const QByteArrayView& header) const {
    QList<Section> found;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const LineKind line = classify(lines_[i]);
        if (!isHeader(line)) continue;
        if (!found.isEmpty() && found.last().end < 0) found.last().end = i;
        if (line.kind == LineKind::Header && line.key == header) found.append({i, -1});
    }
    if (!found.isEmpty() && found.last().end < 0) found.last().end = lines_.size();
    return found;
}

qsizetype IniDocument::lastContent(const Section& section) const {
    for (qsizetype i = section.end - 1; i > section.header; --i) {
        const LineKind::Kind kind = classify(lines_[i]).kind;
        if (kind == LineKind::Value || kind == LineKind::Other) return i;
    }
    return section.header;
}

void IniDocument::insertLine(qsizetype at, const QByteArray& text) {
    const bool crlf = !lines_.isEmpty() && lines_.first().endsWith('\r');
    if (at == lines_.size()) finalLineFeed_ = true;
    lines_.insert(at, crlf ? text + '\r' : text);
}

std::optional<settings_backend::RawValue> IniDocument::value(const QString& group,
                                                             const QString& name) const {
    const QByteArray entryName = encodeName(name);
    std::optional<QByteArrayView> found;
    for (const Section& section : sections(encodeName(group))) {
        for (qsizetype i = section.header + 1; i < section.end; ++i) {
            const LineKind line = classify(lines_[i]);
            if (line.kind == LineKind::Value && line.key == entryName) found = line.value;
        }
    }
    if (!found) return std::nullopt;
    return decodeValue(*found);
}

void IniDocument::setValue(const QString& group, const QString& name,
                           const settings_backend::RawValue& value) {
    const QByteArray header = encodeName(group);
    const QByteArray entryName = encodeName(name);
    const QByteArray entry = entryName + '=' + encodeValue(value);
    const QList<Section> found = sections(header);
    qsizetype last = -1;
    for (const Section& section : found) {
        for (qsizetype i = section.header + 1; i < section.end; ++i) {
            const LineKind line = classify(lines_[i]);
            if (line.kind == LineKind::Value && line.key == entryName) last = i;
        }
    }
    if (last >= 0) {
        lines_[last] = lines_[last].endsWith('\r') ? entry + '\r' : entry;
        return;
    }
    if (!found.isEmpty()) {
        insertLine(lastContent(found.first()) + 1, entry);
        return;
    }
    // A new group goes at the end, after a blank line.
    if (!lines_.isEmpty() && classify(lines_.last()).kind != LineKind::Blank)
        insertLine(lines_.size(), {});
    insertLine(lines_.size(), '[' + header + ']');
    insertLine(lines_.size(), entry);
}

bool IniDocument::removeGroup(const QString& group) {
    const QList<Section> found = sections(encodeName(group));
    const auto blank = [this](qsizetype i) { return classify(lines_[i]).kind == LineKind::Blank; };
    // From the last section up, so that the earlier ones keep their places.
    for (auto section = found.crbegin(); section != found.crend(); ++section) {
        qsizetype first = section->header;
        while (first > 0 && blank(first - 1)) --first;
        qsizetype last = lastContent(*section);
        // At the top of the file, the blank lines below the group go too.
        if (first == 0)
            while (last + 1 < lines_.size() && blank(last + 1)) ++last;
        lines_.remove(first, last - first + 1);
    }
    return !found.isEmpty();
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

bool openDevice(QIODevice& file, QIODevice::OpenMode mode) { return file.open(mode); }

FileOpener fileOpener = openDevice;

std::optional<QByteArray> readFile(const QString& path) {
    QFile file(path);
    if (!fileOpener(file, QIODevice::ReadOnly)) return std::nullopt;
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
    if (!fileOpener(out, QIODevice::WriteOnly)) return false;
    out.write(doc.toBytes());
    return out.commit();
}

}  // namespace

FileOpener setFileOpener(FileOpener opener) { return std::exchange(fileOpener, opener); }

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
