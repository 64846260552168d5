#pragma once
// Lets an action through at most once per interval: a long task reports progress far more often
// than a window should repaint or handle its events. The clock is given, so tests move time.

#include <chrono>
#include <functional>

namespace tkv {

class Throttle {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit Throttle(std::chrono::milliseconds interval, Clock clock = std::chrono::steady_clock::now);

    // True when the interval has passed since the last true, or since the throttle was made; the
    // interval then starts again.
    bool due();

  private:
    std::chrono::milliseconds interval_;
    Clock clock_;
    std::chrono::steady_clock::time_point last_;
};

} // namespace tkv
