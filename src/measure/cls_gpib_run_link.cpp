#include "cls_gpib_run_link.h"

#include <algorithm>
#include <cstdint>

namespace lorvane {

QString ClsGpibRunLink::query(const QString& text, int delayMs) {
    // DevQuery takes a 16-bit delay; the run asks for 50 ms.
    const int delay = std::clamp(delayMs, 0, static_cast<int>(INT16_MAX));
    return link_.DevQuery(0, text, static_cast<int16_t>(delay));
}

}  // namespace lorvane
