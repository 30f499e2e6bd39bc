// The settings store on Windows: HKEY_LOCAL_MACHINE\SOFTWARE\Tessaly Software\<key>, one
// subkey per instance, numbers as REG_DWORD and texts as REG_SZ in the ANSI code page.
#include <windows.h>

#include <cstring>

#include "settings_store.h"

namespace lorvane::settings_backend {

namespace {

constexpr const char* kBaseKey = "SOFTWARE\\Tessaly Software";
// Query, set, create subkey, enumerate, notify, create link and read control.
constexpr REGSAM kAccess = 0x2003F;
// The largest text a read takes, in bytes including the terminating NUL.
constexpr DWORD kTextBufferSize = 1024;

// An open key, closed when the object goes, so that every path closes what it opened.
class RegKey {
  public:
    RegKey() = default;
    ~RegKey() {
        if (handle_) RegCloseKey(handle_);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    bool open(HKEY parent, const QByteArray& name) {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(parent, name.constData(), 0, kAccess, &opened) != ERROR_SUCCESS)
            return false;
        handle_ = opened;
        return true;
    }
    // Opens the key, or creates it when it cannot be opened.
    bool openOrCreate(HKEY parent, const QByteArray& name) {
        if (open(parent, name)) return true;
        HKEY created = nullptr;
        if (RegCreateKeyA(parent, name.constData(), &created) != ERROR_SUCCESS) return false;
        handle_ = created;
        return true;
    }
    HKEY get() const { return handle_; }

  private:
    HKEY handle_ = nullptr;
};

QByteArray ansi(const QString& text) { return text.toLocal8Bit(); }

// The instance subkey's name. A "\" would name a key below another instance's key, so it is
// written as %5C, and "%" as %25 to keep the two apart; every other name stays as it is.
QByteArray subkeyName(const QString& key) {
    QString name = key;
    name.replace(u'%', QStringLiteral("%25"));
    name.replace(u'\\', QStringLiteral("%5C"));
    return ansi(name);
}

}  // namespace

std::optional<RawValue> load(const QString& key, const QString& name) {
    RegKey base;
    RegKey instance;
    if (!base.open(HKEY_LOCAL_MACHINE, kBaseKey)) return std::nullopt;
    if (!instance.open(base.get(), subkeyName(key))) return std::nullopt;

    char buffer[kTextBufferSize] = {};
    DWORD type = REG_DWORD;
    DWORD size = kTextBufferSize;
    if (RegQueryValueExA(instance.get(), ansi(name).constData(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type == REG_DWORD && size == sizeof(uint32_t)) {
        uint32_t number = 0;
        std::memcpy(&number, buffer, sizeof number);
        return number;
    }
    if (type == REG_SZ) return QByteArray(buffer, static_cast<qsizetype>(size));
    return std::nullopt;
}

bool store(const QString& key, const QString& name, const RawValue& value) {
    RegKey base;
    RegKey instance;
    if (!base.openOrCreate(HKEY_LOCAL_MACHINE, kBaseKey)) return false;
    if (!instance.openOrCreate(base.get(), subkeyName(key))) return false;

    LONG result = ERROR_SUCCESS;
    if (const auto* number = std::get_if<uint32_t>(&value)) {
        const DWORD data = *number;
        result = RegSetValueExA(instance.get(), ansi(name).constData(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&data), sizeof data);
    } else {
        const QByteArray& text = std::get<QByteArray>(value);
        result = RegSetValueExA(instance.get(), ansi(name).constData(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(text.constData()),
                                static_cast<DWORD>(text.size()));
    }
    return result == ERROR_SUCCESS;
}

bool removeGroup(const QString& key) {
    RegKey base;
    if (!base.open(HKEY_LOCAL_MACHINE, kBaseKey)) return false;
    RegDeleteKeyA(base.get(), subkeyName(key).constData());
    return true;
}

}  // namespace lorvane::settings_backend
