#include "shell/throttle.h"

namespace tkv {

Throttle::Throttle(std::chrono::milliseconds interval, Clock clock)
    : interval_(interval), clock_(std::move(clock)), last_(clock_()) {}

bool Throttle::due() {
    const auto now = clock_();
    if (now - last_ < interval_) return false;
    last_ = now;
    return true;
}

} // namespace tkv
