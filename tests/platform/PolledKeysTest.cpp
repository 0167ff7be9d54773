#include "platform/PolledKeys.h"

#include <gtest/gtest.h>

#include "platform/InputService.h"

namespace pontrel {
namespace {

using namespace std::chrono_literals;
using Clock = PolledKeys::Clock;

constexpr int vkF5 = 0x74;
constexpr int vkF6 = 0x75;
constexpr std::uint16_t fresh = keyDownNow | keyPressedSinceLastQuery;

class PolledKeysTest : public testing::Test {
protected:
    std::uint16_t query(int key) {
        return keys_.query(key, now_, [this](int bound) {
            binds_.push_back(bound);
            return bindable_;
        });
    }

    PolledKeys keys_;
    Clock::time_point now_ = Clock::time_point() + 1h;
    std::vector<int> binds_;
    bool bindable_ = true;
};

TEST_F(PolledKeysTest, StatesFollowThePressesSinceTheLastQuery) {
    EXPECT_EQ(query(vkF5), 0);
    keys_.pressed(vkF5, now_);
    EXPECT_EQ(query(vkF5), fresh);
    EXPECT_EQ(query(vkF5), keyDownNow);
    keys_.released(vkF5);
    EXPECT_EQ(query(vkF5), 0);
    // Pressed and released between two queries: counted once.
    keys_.pressed(vkF5, now_);
    keys_.released(vkF5);
    EXPECT_EQ(query(vkF5), keyPressedSinceLastQuery);
    EXPECT_EQ(query(vkF5), 0);
    EXPECT_EQ(binds_, std::vector<int>{vkF5});
}

TEST_F(PolledKeysTest, AnnouncedPressesDoNotCountUntilTheyExpire) {
    query(vkF5);
    keys_.announce(vkF5, now_);
    keys_.pressed(vkF5, now_);
    keys_.released(vkF5);
    EXPECT_EQ(query(vkF5), 0);
    // An announcement whose press never came expires.
    keys_.announce(vkF5, now_);
    now_ += PolledKeys::announcementLifetime + 1ms;
    keys_.pressed(vkF5, now_);
    EXPECT_EQ(query(vkF5), fresh);
    // An unbound key takes no announcement.
    keys_.announce(vkF6, now_);
    query(vkF6);
    keys_.pressed(vkF6, now_);
    EXPECT_EQ(query(vkF6), fresh);
}

TEST_F(PolledKeysTest, KeysNotQueriedAreGivenBackAndBoundAgain) {
    query(vkF5);
    now_ += 500ms;
    query(vkF6);
    now_ += 600ms;
    EXPECT_EQ(keys_.takeIdle(now_), std::vector<int>{vkF5});
    EXPECT_EQ(keys_.boundKeys(), std::vector<int>{vkF6});
    keys_.bindingsLost();
    EXPECT_TRUE(keys_.boundKeys().empty());
    query(vkF6);
    EXPECT_EQ(binds_, (std::vector<int>{vkF5, vkF6, vkF6}));
    EXPECT_EQ(keys_.takeAll(), std::vector<int>{vkF6});
    // A key that cannot be bound reads up, and is asked for again at the next query.
    bindable_ = false;
    keys_.pressed(vkF5, now_);
    EXPECT_EQ(query(vkF5), 0);
    EXPECT_EQ(query(0x100), 0);
    EXPECT_EQ(binds_.size(), 4U);
}

}  // namespace
}  // namespace pontrel
