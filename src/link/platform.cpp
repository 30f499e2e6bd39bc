#include "platform.h"

#include <clocale>

namespace lorvane {

void useCNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace lorvane
