// The host's simulated message loop.

#include <gtest/gtest.h>

#include <vector>

#include "platform/SimulatedClock.h"

namespace velmarin::platform::posix {
namespace {

struct Firing {
    std::uintptr_t id;
    std::uint32_t time;
};
std::vector<Firing> g_fired;
SimulatedClock* g_clock = nullptr;

void Record(void*, unsigned, std::uintptr_t id, std::uint32_t time) {
    g_fired.push_back({id, time});
}
void OneShot(void* window, unsigned message, std::uintptr_t id, std::uint32_t time) {
    g_clock->killTimer(id);
    Record(window, message, id, time);
}
void Chain(void* window, unsigned message, std::uintptr_t id, std::uint32_t time) {
    g_clock->killTimer(id);
    Record(window, message, id, time);
    if (g_fired.size() < 3) g_clock->setTimer(0, 50, Chain);
}

class SimulatedClockTest : public ::testing::Test {
  protected:
    SimulatedClockTest() {
        g_fired.clear();
        g_clock = &clock_;
    }
    std::vector<std::uint32_t> times() const {
        std::vector<std::uint32_t> t;
        for (const auto& f : g_fired) t.push_back(f.time);
        return t;
    }
    SimulatedClock clock_;
};

TEST_F(SimulatedClockTest, OneShotTimerFiresOnceWhenDue) {
    const auto id = clock_.setTimer(0, 1000, OneShot);
    ASSERT_NE(id, 0u);
    clock_.advance(999);
    EXPECT_TRUE(g_fired.empty());
    clock_.advance(1);
    ASSERT_EQ(g_fired.size(), 1u);
    EXPECT_EQ(g_fired[0].id, id);
    EXPECT_EQ(g_fired[0].time, 1000u);
    clock_.advance(5000);
    EXPECT_EQ(g_fired.size(), 1u);
    EXPECT_FALSE(clock_.pending());
    EXPECT_FALSE(clock_.killTimer(id));
}

TEST_F(SimulatedClockTest, TimersRepeatAndFireInDueOrder) {
    const auto slow = clock_.setTimer(0, 100, Record);
    const auto fast = clock_.setTimer(0, 30, Record);
    clock_.advance(200);
    std::vector<std::uintptr_t> ids;
    for (const auto& f : g_fired) ids.push_back(f.id);
    EXPECT_EQ(times(), (std::vector<std::uint32_t>{30, 60, 90, 100, 120, 150, 180, 200}));
    EXPECT_EQ(ids, (std::vector<std::uintptr_t>{fast, fast, fast, slow, fast, fast, fast, slow}));
    EXPECT_EQ(clock_.now(), 200u);
}

TEST_F(SimulatedClockTest, SetTimerReusesOnlyRunningIds) {
    const auto id = clock_.setTimer(0, 100, Record);
    clock_.advance(60);
    EXPECT_EQ(clock_.setTimer(id, 100, Record), id);  // re-armed from now
    clock_.advance(60);
    EXPECT_TRUE(g_fired.empty());
    const auto other = clock_.setTimer(4711, 10, Record);
    EXPECT_NE(other, 4711u);
    EXPECT_NE(other, id);

    // The batch command passes id 1 each time: two calls are two timers.
    SimulatedClock fresh;
    const auto first = fresh.setTimer(1, 1000, Record);
    const auto second = fresh.setTimer(1, 1000, Record);
    EXPECT_NE(first, second);
    EXPECT_EQ(fresh.setTimer(first, 1000, Record), first);
    EXPECT_EQ(clock_.setTimer(0, 10, nullptr), 0u);
}

TEST_F(SimulatedClockTest, ZeroIntervalIsClampedNotEndless) {
    clock_.setTimer(0, 0, Record);
    clock_.advance(100);
    EXPECT_EQ(g_fired.size(), 10u);
}

TEST_F(SimulatedClockTest, RunUntilIdleFollowsChainsAndStopsRunaways) {
    clock_.setTimer(0, 50, Chain);
    clock_.runUntilIdle();
    EXPECT_EQ(times(), (std::vector<std::uint32_t>{50, 100, 150}));
    EXPECT_FALSE(clock_.pending());

    g_fired.clear();
    clock_.setTimer(0, 10, Record);
    clock_.runUntilIdle(7);
    EXPECT_EQ(g_fired.size(), 7u);
    EXPECT_FALSE(clock_.pending());
}

}  // namespace
}  // namespace velmarin::platform::posix
