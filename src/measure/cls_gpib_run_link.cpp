#include "cls_gpib_run_link.h"

#include <algorithm>
#include <cstdint>

namespace lorvane {

namespace {

// DevQuery and DevRead take a 16-bit delay; the run asks for 50 ms.
int16_t delay16(int delayMs) {
    return static_cast<int16_t>(std::clamp(delayMs, 0, static_cast<int>(INT16_MAX)));
}

}  // namespace

QString ClsGpibRunLink::query(const QString& text, int delayMs) {
    return link_.DevQuery(0, text, delay16(delayMs));
}

QString ClsGpibRunLink::read(int delayMs) { return link_.DevRead(0, delay16(delayMs)); }

}  // namespace lorvane
