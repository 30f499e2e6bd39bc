// Splitting one line of HP 4192A program text into program codes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::sim {

// One program code. Valid codes carry their name ("A1", "W2", "AB", "EX", "FR", ...) and, for
// the numeric codes, the number written between the name and the unit terminator "EN". An
// invalid code carries the characters that could not be understood.
struct ProgramCode {
    std::string name;
    std::optional<double> number;
    bool valid = true;
};

// Splits a line (without CR or LF) into codes, left to right. Blanks between codes are
// skipped. The instrument takes upper-case codes only; a number must be followed by "EN".
std::vector<ProgramCode> parseProgramLine(std::string_view line);

}  // namespace lorvane::sim
