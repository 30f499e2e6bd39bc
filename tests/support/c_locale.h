#pragma once
// The C library's locale in tests. Header only and free of Qt, so that the simulator's tests,
// which use neither Qt nor the test main, can include it too.

#include <clocale>
#include <string>

namespace lorvane::test {

// The locale of the decimal-comma runs, which scripts/bootstrap generates.
inline constexpr const char* kDecimalCommaLocale = "de_DE.UTF-8";

// Why a test cannot run: the machine lacks the locale it asks for.
inline std::string missingLocaleMessage(const char* name) {
    return std::string("The locale ") + name +
           " is not installed on this machine (scripts/bootstrap generates it).";
}

// Switches the whole C library (LC_ALL) to a locale for the life of the object and puts the
// old one back. A locale the machine lacks is never replaced by another: the switch fails and
// ok() says so.
class ScopedCLocale {
  public:
    explicit ScopedCLocale(const char* name) : old_(std::setlocale(LC_ALL, nullptr)) {
        ok_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedCLocale() { std::setlocale(LC_ALL, old_.c_str()); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

    bool ok() const { return ok_; }

  private:
    std::string old_;
    bool ok_ = false;
};

}  // namespace lorvane::test
