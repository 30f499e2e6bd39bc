#include "number_format.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

namespace {

// Significant digits of the decimal form that rounding starts from, as in the classic Format.
constexpr int kSignificant = 15;

struct Pattern {
    int integerDigits = 0;
    int decimals = 0;
    QStringView literal;
};

Pattern parsePattern(QStringView text) {
    Pattern p;
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'0') {
        ++p.integerDigits;
        ++i;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i] == u'0') {
            ++p.decimals;
            ++i;
        }
    }
    p.literal = text.mid(i);
    return p;
}

// Adds one to a text of decimal digits ("" counts as 0).
void increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The digits of magnitude * 10^decimals rounded to an integer, taken from the magnitude's
// 15-significant-digit form with halves rounded up. Without leading zeros; "" for 0.
std::string scaledDigits(double magnitude, int decimals) {
    // to_chars gives "d.dddddddddddddde±x..." for any finite magnitude.
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                   kSignificant - 1);
    char* e = std::find(buf, res.ptr, 'e');
    std::string digits(1, buf[0]);
    digits.append(buf + 2, e);
    int exponent = 0;
    std::from_chars(e + 2, res.ptr, exponent);
    if (e[1] == '-') exponent = -exponent;

    // Number of the form's digits that stand left of the rounding position.
    const int kept = exponent + 1 + decimals;
    std::string out;
    if (kept >= kSignificant) {
        out = digits;
        out.append(static_cast<size_t>(kept - kSignificant), '0');
    } else if (kept >= 0) {
        out = digits.substr(0, static_cast<size_t>(kept));
        if (digits[static_cast<size_t>(kept)] >= '5') increment(out);
    }
    out.erase(0, std::min(out.find_first_not_of('0'), out.size()));
    return out;
}

QString format(double value, const QString& patternText, const QString& point) {
    const Pattern p = parsePattern(patternText);
    if (!std::isfinite(value)) {
        QString out = std::isnan(value) ? u"NaN"_s : value < 0 ? u"-Inf"_s : u"Inf"_s;
        out += p.literal;
        return out;
    }

    std::string digits = scaledDigits(std::fabs(value), p.decimals);
    const size_t width = static_cast<size_t>(p.integerDigits + p.decimals);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    const size_t integerEnd = digits.size() - static_cast<size_t>(p.decimals);

    QString out;
    out.reserve(static_cast<qsizetype>(digits.size() + 2) + p.literal.size());
    if (value < 0) out += u'-';
    out += QLatin1StringView(digits.data(), static_cast<qsizetype>(integerEnd));
    if (p.decimals > 0) {
        out += point;
        out += QLatin1StringView(digits.data() + integerEnd,
                                 static_cast<qsizetype>(digits.size() - integerEnd));
    }
    out += p.literal;
    return out;
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

QString formatNumber(double value, const QString& pattern) {
    return format(value, pattern, QLocale().decimalPoint());
}

QString formatNumberInvariant(double value, const QString& pattern) {
    return format(value, pattern, u"."_s);
}

std::optional<double> parseLocaleNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> readReplyNumber(QStringView text, int powerOfTen) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i].isSpace()) ++i;

    // The number is copied as ASCII; from_chars reads it without any locale.
    std::string ascii;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    bool anyDigit = false;
    for (; i < n && isDigit(text[i]); ++i, anyDigit = true) ascii += text[i].toLatin1();
    if (i < n && text[i] == u'.') {
        ascii += '.';
        for (++i; i < n && isDigit(text[i]); ++i, anyDigit = true) ascii += text[i].toLatin1();
    }
    if (!anyDigit) return 0.0;

    // The written exponent plus the power of ten, held within bounds that no double reaches
    // however many digits it has.
    constexpr long kExponentBound = 100000;
    long exponent = powerOfTen;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        qsizetype j = i + 1;
        const bool signedExponent = j < n && (text[j] == u'+' || text[j] == u'-');
        if (signedExponent) ++j;
        const bool negativeExponent = signedExponent && text[j - 1] == u'-';
        long written = 0;
        for (; j < n && isDigit(text[j]); ++j)
            written = std::min(written * 10 + (text[j].unicode() - u'0'), kExponentBound);
        exponent += negativeExponent ? -written : written;
    }
    if (exponent != 0) {
        char digits[24];
        ascii += 'e';
        ascii.append(digits, std::to_chars(digits, digits + sizeof digits, exponent).ptr);
    }

    double value = 0.0;
    const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (res.ec != std::errc()) return std::nullopt;
    return negative ? -value : value;
}

double parseReplyNumber(QStringView text) { return readReplyNumber(text).value_or(0.0); }

}  // namespace lorvane
