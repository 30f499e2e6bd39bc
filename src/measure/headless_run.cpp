#include "headless_run.h"

namespace lorvane {

std::array<double, 3>& HeadlessPanel::previousRange(SweepParam sweep) {
    return previous_[static_cast<size_t>(sweep)];
}

QString HeadlessPanel::runCaption(int index) const {
    return captions_.at(static_cast<size_t>(index));
}

void HeadlessPanel::setRunCaption(int index, const QString& caption) {
    captions_.at(static_cast<size_t>(index)) = caption;
}

}  // namespace lorvane
