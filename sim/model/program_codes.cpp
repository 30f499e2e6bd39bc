#include "program_codes.h"

#include <array>
#include <charconv>

namespace lorvane::sim {

namespace {

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Letter codes followed by one digit, with the digits each accepts.
bool isValidSetting(char letter, char digit) {
    struct Range {
        char letter;
        char low;
        char high;
    };
    static constexpr std::array<Range, 13> kRanges{{{'A', '1', '7'},
                                                    {'B', '1', '3'},
                                                    {'C', '1', '3'},
                                                    {'D', '0', '1'},
                                                    {'F', '0', '1'},
                                                    {'G', '0', '1'},
                                                    {'H', '0', '1'},
                                                    {'I', '0', '1'},
                                                    {'N', '1', '2'},
                                                    {'R', '1', '8'},
                                                    {'T', '1', '3'},
                                                    {'V', '0', '1'},
                                                    {'W', '0', '4'}}};
    for (const Range& range : kRanges) {
        if (range.letter == letter) return digit >= range.low && digit <= range.high;
    }
    return false;
}

bool isNumericCode(std::string_view name) {
    static constexpr std::array<std::string_view, 9> kNames{"FR", "TF", "PF", "SF", "BI",
                                                            "TB", "PB", "SB", "OL"};
    for (std::string_view known : kNames) {
        if (known == name) return true;
    }
    return false;
}

// End of an unreadable stretch: the next upper-case letter or blank.
std::size_t skipUnreadable(std::string_view line, std::size_t from) {
    while (from < line.size() && !isUpper(line[from]) && line[from] != ' ') ++from;
    return from;
}

// Reads "[sign]digits[.digits]" at `pos`; returns the end of the number text, or `pos` when
// there is no digit.
std::size_t scanNumber(std::string_view line, std::size_t pos) {
    std::size_t i = pos;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < line.size() && isDigit(line[i])) ++i, ++digits;
    if (i < line.size() && line[i] == '.') {
        ++i;
        while (i < line.size() && isDigit(line[i])) ++i, ++digits;
    }
    return digits == 0 ? pos : i;
}

}  // namespace

std::vector<ProgramCode> parseProgramLine(std::string_view line) {
    std::vector<ProgramCode> codes;
    std::size_t i = 0;
    auto fail = [&](std::size_t end) {
        codes.push_back({std::string(line.substr(i, end - i)), std::nullopt, false});
        i = end;
    };
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ') {
            ++i;
            continue;
        }
        if (!isUpper(c) || i + 1 >= line.size()) {
            fail(skipUnreadable(line, i + 1));
            continue;
        }
        const char next = line[i + 1];
        const std::string name{c, next};
        if (isDigit(next)) {
            if (isValidSetting(c, next)) {
                codes.push_back({name, std::nullopt, true});
                i += 2;
            } else {
                fail(skipUnreadable(line, i + 2));
            }
        } else if (name == "AB" || name == "EX") {
            codes.push_back({name, std::nullopt, true});
            i += 2;
        } else if (isNumericCode(name)) {
            const std::size_t start = i + 2;
            const std::size_t end = scanNumber(line, start);
            if (end == start || line.substr(end, 2) != "EN") {
                fail(end);
                continue;
            }
            std::string_view text = line.substr(start, end - start);
            if (text.front() == '+') text.remove_prefix(1);
            double value = 0.0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            codes.push_back({name, value, true});
            i = end + 2;
        } else {
            fail(skipUnreadable(line, i + 2));
        }
    }
    return codes;
}

}  // namespace lorvane::sim
