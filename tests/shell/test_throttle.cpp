#include "shell/throttle.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

using namespace std::chrono_literals;

// Asked at these times (ms after the throttle was made), a 30 ms throttle lets through the marked
// ones: each lets-through starts the interval again, a long pause lets through once.
TEST(Throttle, LetsThroughOncePerIntervalFromTheLastLetThrough) {
    std::chrono::steady_clock::time_point now{};
    Throttle throttle(30ms, [&] { return now; });
    const struct {
        int at_ms;
        bool due;
    } asks[] = {{0, false}, {29, false}, {30, true}, {31, false}, {59, false}, {60, true},
                {60, false}, {500, true}, {529, false}, {530, true}};
    for (const auto& ask : asks) {
        now = std::chrono::steady_clock::time_point{} + std::chrono::milliseconds(ask.at_ms);
        EXPECT_EQ(throttle.due(), ask.due) << "at " << ask.at_ms << " ms";
    }
}

} // namespace
} // namespace tkv
