#include "framework/Event.h"

#include <gtest/gtest.h>

#include <thread>

// Catches an event that stays set after a wait, or that a reset does not clear.
TEST(EventTest, ResetsItselfAfterOneWait) {
    CEvent event;
    EXPECT_FALSE(event.Wait(0));
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.Wait(0)); // auto-reset
    event.Set();
    event.Reset();
    EXPECT_FALSE(event.Wait(10));
}

// Catches a Set on one thread that never wakes a waiter on another.
TEST(EventTest, WakesAWaiterOnAnotherThread) {
    CEvent started, go;
    bool woke = false;
    std::thread waiter([&] {
        started.Set();
        woke = go.Wait(10000);
    });
    ASSERT_TRUE(started.Wait(10000));
    go.Set();
    waiter.join();
    EXPECT_TRUE(woke);
}
