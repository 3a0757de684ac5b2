// Events fire only when assigned, and compare equal exactly when they would
// call the same function on the same object.
#include <gtest/gtest.h>

#include "classlib/core/delegate.h"

namespace {

struct Counter {
    int hits = 0;
    void Hit(TObject*) { ++hits; }
    void Other(TObject*) {}
    int Peek(int add) const { return hits + add; }
};

int freeHits = 0;
void FreeHit(TObject*) {
    ++freeHits;
}

}  // namespace

TEST(Delegate, UnassignedIsEmptyAndAssignedCalls) {
    TNotifyEvent event;
    EXPECT_FALSE(Assigned(event));
    Counter counter;
    event = TNotifyEvent(&counter, &Counter::Hit);
    ASSERT_TRUE(Assigned(event));
    event(nullptr);
    event(nullptr);
    EXPECT_EQ(counter.hits, 2);
    EXPECT_EQ(event.Object(), &counter);

    event = &FreeHit;
    event(nullptr);
    EXPECT_EQ(freeHits, 1);
    EXPECT_EQ(event.Object(), nullptr);

    TDelegate<int(int)> peek(&counter, &Counter::Peek);
    EXPECT_EQ(peek(5), 7);
}

TEST(Delegate, EqualityNeedsSameObjectAndSameTarget) {
    Counter a, b;
    EXPECT_EQ(TNotifyEvent(&a, &Counter::Hit), TNotifyEvent(&a, &Counter::Hit));
    EXPECT_FALSE(TNotifyEvent(&a, &Counter::Hit) == TNotifyEvent(&b, &Counter::Hit));
    EXPECT_FALSE(TNotifyEvent(&a, &Counter::Hit) == TNotifyEvent(&a, &Counter::Other));
    EXPECT_EQ(TNotifyEvent(&FreeHit), TNotifyEvent(&FreeHit));
    EXPECT_FALSE(TNotifyEvent(&FreeHit) == TNotifyEvent());
    EXPECT_EQ(TNotifyEvent(), TNotifyEvent(nullptr));
}
