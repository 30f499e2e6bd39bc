#include "sim_test_support.h"

#include <stdexcept>

namespace lorvane::test {

double fieldValue(const std::string& reading, int index) {
    std::size_t begin = 0;
    for (int i = 0; i < index; ++i) {
        begin = reading.find(',', begin);
        if (begin == std::string::npos) throw std::invalid_argument("missing field: " + reading);
        ++begin;
    }
    const std::size_t skip = index == 2 ? 1 : 4;
    return std::stod(reading.substr(begin + skip));
}

}  // namespace lorvane::test
