#include "settings_store.h"

#include <cmath>
#include <limits>

namespace lorvane {

namespace {

// Longest text value a read accepts, in stored bytes including the terminating NUL.
constexpr qsizetype kTextLimit = 1024;

// The nearest 32-bit integer, halves to the even neighbour; computed by hand so that the
// result never depends on the floating-point rounding mode in force.
std::optional<int32_t> toInt32(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    double rounded = std::floor(value);
    const double fraction = value - rounded;  // exact for every finite double
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) rounded += 1.0;
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(rounded);
}

}  // namespace

int32_t RegRead(const QString& key, const QString& name, int32_t def) {
    const auto raw = settings_backend::load(key, name);
    const auto* number = raw ? std::get_if<uint32_t>(&*raw) : nullptr;
    return number ? static_cast<int32_t>(*number) : def;
}

QString RegRead(const QString& key, const QString& name, const QString& def) {
    const auto raw = settings_backend::load(key, name);
    const auto* stored = raw ? std::get_if<QByteArray>(&*raw) : nullptr;
    if (!stored || stored->isEmpty() || stored->size() > kTextLimit) return def;
    QByteArray text = *stored;
    if (text.endsWith('\0')) text.chop(1);
    // The platform's 8-bit encoding: the ANSI code page on Windows, UTF-8 elsewhere.
    return QString::fromLocal8Bit(text);
}

bool RegWrite(const QString& key, const QString& name, double value) {
    const auto number = toInt32(value);
    if (!number) return false;
    return settings_backend::store(key, name, static_cast<uint32_t>(*number));
}

bool RegWrite(const QString& key, const QString& name, const QString& value) {
    QByteArray text = value.toLocal8Bit();
    text.append('\0');
    return settings_backend::store(key, name, text);
}

bool RegDelete(const QString& key) { return settings_backend::removeGroup(key); }

int16_t RegReadInt16(const QString& key, const QString& name, int16_t def) {
    const int32_t value = RegRead(key, name, int32_t{def});
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        return def;
    return static_cast<int16_t>(value);
}

}  // namespace lorvane
