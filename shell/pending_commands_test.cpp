#include "shell/pending_commands.h"
#include "shell/pending_commands_fixture.h"
#include "testing/test_app.h"

#include <gtest/gtest.h>
#include <memory>

namespace tamix {
namespace {

class PendingCommandsTest : public ::testing::Test, protected WithTestApp {
protected:
    CommandWindow window;
    PendingCommands queue{&window};
    bool ready = false;
    int asked = 0;

    void SetUp() override {
        queue.setReady([this] {
            ++asked;
            return ready;
        });
    }
};

TEST_F(PendingCommandsTest, WaitsForReadinessThenDeliversInArrivalOrder) {
    queue.enqueue(0, "first");
    queue.enqueue(7, "second");
    queue.enqueue(0, QByteArray(1, '\0'));
    runLoopFor(3 * PendingCommands::kRetryMs);
    EXPECT_TRUE(window.received.isEmpty());
    EXPECT_GT(asked, 1) << "a waiting queue asks again";

    ready = true;
    ASSERT_TRUE(runLoopUntil([&] { return window.received.size() == 3; }, 2000));
    EXPECT_EQ(window.received, (QList<QByteArray>{"first", "second", QByteArray(1, '\0')}));
    EXPECT_EQ(window.dwData, (QList<quint32>{0, 7, 0}));
    EXPECT_EQ(queue.size(), 0);
}

TEST_F(PendingCommandsTest, AsksAgainAfterEachDelivery) {
    // The first command opens a "dialog": the second waits until it closes.
    ready = true;
    window.onDelivery = [&] { ready = false; };
    queue.enqueue(0, "opens a box");
    queue.enqueue(0, "waits");
    EXPECT_TRUE(window.received.isEmpty()) << "enqueue must not call the window";
    ASSERT_TRUE(runLoopUntil([&] { return !window.received.isEmpty(); }, 2000));
    runLoopFor(3 * PendingCommands::kRetryMs);
    EXPECT_EQ(window.received, QList<QByteArray>{"opens a box"});

    window.onDelivery = nullptr;
    ready = true;
    ASSERT_TRUE(runLoopUntil([&] { return window.received.size() == 2; }, 2000));
    EXPECT_EQ(window.received.last(), "waits");
}

TEST_F(PendingCommandsTest, ANestedLoopInTheWindowDeliversNothingElse) {
    ready = true;
    window.holdMs = 4 * PendingCommands::kRetryMs;
    queue.enqueue(0, "a");
    queue.enqueue(0, "b");
    // Arrives while "a" is being handled.
    window.onDelivery = [&] {
        if (window.received.size() == 1)
            queue.enqueue(0, "c");
        else
            window.holdMs = 0;
    };
    ASSERT_TRUE(runLoopUntil([&] { return window.received.size() == 3 && window.depth == 0; }, 5000));
    EXPECT_EQ(window.maxDepth, 1);
    EXPECT_EQ(window.received, (QList<QByteArray>{"a", "b", "c"}));
}

TEST_F(PendingCommandsTest, AnEmptyQueueStopsAsking) {
    ready = true;
    queue.enqueue(0, "x");
    ASSERT_TRUE(runLoopUntil([&] { return window.received.size() == 1; }, 2000));
    runLoopFor(PendingCommands::kRetryMs);
    const int before = asked;
    runLoopFor(3 * PendingCommands::kRetryMs);
    EXPECT_EQ(asked, before);
}

TEST(PendingCommands, CommandsForAWindowThatIsGoneAreDropped) {
    testApp();
    auto window = std::make_unique<CommandWindow>();
    PendingCommands queue(window.get());
    queue.setReady([] { return false; });
    queue.enqueue(0, "queued");
    window.reset();
    queue.setReady({});
    runLoopFor(2 * PendingCommands::kRetryMs);
    EXPECT_EQ(queue.size(), 0);
    queue.enqueue(0, "late");
    EXPECT_EQ(queue.size(), 0);
}

}  // namespace
}  // namespace tamix
