#include "shell/subclass.h"
#include "shell/window_message.h"
#include "testing/test_app.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace tamix {
namespace {

// A window whose own handling answers 7 and logs that it ran.
class LoggingWindow : public QWidget {
public:
    QStringList* log = nullptr;

protected:
    bool event(QEvent* e) override {
        if (e->type() == WindowMessage::eventType()) {
            if (log) *log << "window";
            static_cast<WindowMessage*>(e)->setResult(7);
            return true;
        }
        return QWidget::event(e);
    }
};

// Logs each call as "name:message:wParam", runs onCall, then answers `answer`.
struct Handler : ISubclass {
    Handler(QString name, int response, qintptr answer, QStringList& log)
        : name(std::move(name)), response(response), answer(answer), log(log) {}
    int MsgResponse() const override { return response; }
    void setMsgResponse(int) override {}
    qintptr WindowProc(QObject*, int message, qintptr wParam, qintptr) override {
        log << QStringLiteral("%1:%2:%3").arg(name).arg(message).arg(wParam);
        if (onCall) onCall();
        return answer;
    }
    QString name;
    int response;
    qintptr answer;
    QStringList& log;
    std::function<void()> onCall;
};

qintptr send(QObject* window, int message, qintptr wParam = 0) {
    WindowMessage m(message, wParam, 0);
    QCoreApplication::sendEvent(window, &m);
    return m.result();
}

// Runs `f` and expects a SubclassError for `code` with `text` as its message.
template <class F>
void expectRefusal(F&& f, SubclassErrorCode code, const char* text) {
    try {
        f();
        ADD_FAILURE() << "accepted, expected " << text;
    } catch (const SubclassError& e) {
        EXPECT_EQ(e.number(), SubclassError::numberFor(code));
        EXPECT_STREQ(e.what(), text);
        EXPECT_EQ(e.source(), "tamix_shell_support_test.WindowProc");  // this program's base name
    }
}

class SubclassTest : public WithTestApp, public ::testing::Test {
protected:
    void SetUp() override { window_.log = &log_; }
    QStringList log_;
    LoggingWindow window_;
};

// Post-processing runs the object, then the window, and answers the
// window's answer; pre-processing the reverse; consuming skips the window.
TEST_F(SubclassTest, TheObjectsResponseOrdersItAndTheWindowAndChoosesTheAnswer) {
    const struct {
        int response;
        int message;
        qintptr answer;
        QStringList log;
    } cases[] = {
        {kPostProcess, kWmCopyData, 7, {"a:74:3", "window"}},
        {kPreProcess, kWmCopyData, 42, {"window", "a:74:3"}},
        {kConsume, kWmCopyData, 42, {"a:74:3"}},
        {kConsume, 0x10, 7, {"window"}},  // a message nothing is attached for
    };
    for (const auto& c : cases) {
        log_.clear();
        Handler a("a", c.response, 42, log_);
        AttachMessage(&a, &window_, kWmCopyData);
        EXPECT_EQ(send(&window_, c.message, 3), c.answer) << c.response;
        EXPECT_EQ(log_, c.log) << c.response;
        DetachMessage(&a, &window_, kWmCopyData);
    }
}

TEST_F(SubclassTest, SeveralObjectsRunInAttachmentOrder) {
    Handler a("a", kPreProcess, 1, log_);
    Handler b("b", kConsume, 2, log_);
    Handler c("c", kPostProcess, 3, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    AttachMessage(&b, &window_, kWmCopyData);
    AttachMessage(&c, &window_, kWmCopyData);
    // The window's own handling runs once, before a (first, pre-process);
    // c's post-processing does not repeat it.
    EXPECT_EQ(send(&window_, kWmCopyData), 3);
    EXPECT_EQ(log_, (QStringList{"window", "a:74:0", "b:74:0", "c:74:0"}));
    DetachMessage(&b, &window_, kWmCopyData);
    log_.clear();
    send(&window_, kWmCopyData);
    EXPECT_EQ(log_, (QStringList{"window", "a:74:0", "c:74:0"}));
}

TEST_F(SubclassTest, CountsAttachmentsPerWindowAndObjectsPerMessage) {
    Handler a("a", kPostProcess, 0, log_);
    Handler b("b", kPostProcess, 0, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    AttachMessage(&b, &window_, kWmCopyData);
    AttachMessage(&b, &window_, 0x203);
    EXPECT_EQ(AttachmentCount(&window_), 3);
    EXPECT_EQ(AttachedObjectCount(&window_, kWmCopyData), 2);
    EXPECT_EQ(AttachedObjectCount(&window_, 0x203), 1);
    EXPECT_EQ(AttachedObjectCount(&window_, 0x10), 0);

    // A detachment ends one attachment even when the object was not attached
    // for that message; the message's list is left unchanged.
    DetachMessage(&a, &window_, 0x203);
    EXPECT_EQ(AttachmentCount(&window_), 2);
    EXPECT_EQ(AttachedObjectCount(&window_, 0x203), 1);
    EXPECT_EQ(AttachedObjectCount(&window_, kWmCopyData), 2);
    DetachMessage(&a, &window_, kWmCopyData);
    EXPECT_EQ(AttachedObjectCount(&window_, kWmCopyData), 1);
    DetachMessage(&b, &window_, kWmCopyData);
    EXPECT_EQ(AttachmentCount(&window_), 0);
    EXPECT_EQ(AttachedObjectCount(&window_, 0x203), 0);  // gone with the last attachment
}

TEST_F(SubclassTest, DetachingEverythingLeavesTheWindowAsBefore) {
    QObject ownChild(&window_);
    const QObjectList childrenBefore = window_.children();
    Handler a("a", kConsume, 42, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    AttachMessage(&a, &window_, 0x203);
    EXPECT_EQ(window_.children().size(), childrenBefore.size() + 1);  // the dispatching filter
    DetachMessage(&a, &window_, kWmCopyData);
    DetachMessage(&a, &window_, 0x203);
    EXPECT_EQ(window_.children(), childrenBefore);
    EXPECT_TRUE(window_.dynamicPropertyNames().isEmpty());
    EXPECT_EQ(send(&window_, kWmCopyData), 7);
    EXPECT_EQ(log_, QStringList{"window"});
    DetachMessage(&a, &window_, kWmCopyData);  // no attachment left: nothing happens
    EXPECT_EQ(window_.children(), childrenBefore);
}

TEST_F(SubclassTest, AttachingTheSameObjectTwiceIsRefusedAndNotCounted) {
    Handler a("a", kConsume, 42, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    expectRefusal([&] { AttachMessage(&a, &window_, kWmCopyData); }, kAlreadyHandled,
                  "Message already handled by another class");
    EXPECT_EQ(static_cast<quint32>(SubclassError::numberFor(kAlreadyHandled)), 0x80040000u + 13082u);
    EXPECT_EQ(AttachmentCount(&window_), 1);
    EXPECT_EQ(AttachedObjectCount(&window_, kWmCopyData), 1);
}

TEST_F(SubclassTest, AnObjectDestroyedWithoutDetachingIsDroppedAndTheLastTakesTheFilterAlong) {
    auto* a = new Handler("a", kPostProcess, 1, log_);
    auto* b = new Handler("b", kConsume, 2, log_);
    AttachMessage(a, &window_, kWmCopyData);
    AttachMessage(b, &window_, kWmCopyData);
    delete b;
    // a is now the last object, so its post-processing lets the window run.
    EXPECT_EQ(send(&window_, kWmCopyData), 7);
    EXPECT_EQ(log_, (QStringList{"a:74:0", "window"}));
    EXPECT_EQ(AttachmentCount(&window_), 1);
    EXPECT_EQ(AttachedObjectCount(&window_, kWmCopyData), 1);
    delete a;
    log_.clear();
    EXPECT_EQ(send(&window_, kWmCopyData), 7);
    EXPECT_EQ(log_, QStringList{"window"});
    EXPECT_TRUE(window_.children().isEmpty());
    // Without a message in between, the next look-up removes the table.
    AttachMessage(b = new Handler("b", kConsume, 2, log_), &window_, kWmCopyData);
    delete b;
    EXPECT_EQ(AttachmentCount(&window_), 0);
    EXPECT_TRUE(window_.children().isEmpty());
}

TEST_F(SubclassTest, AnObjectDestroyedDuringDispatchIsNotCalled) {
    Handler a("a", kConsume, 1, log_);
    auto* b = new Handler("b", kConsume, 2, log_);
    a.onCall = [&b] { delete b; b = nullptr; };
    AttachMessage(&a, &window_, kWmCopyData);
    AttachMessage(b, &window_, kWmCopyData);
    // The dispatch ends with the window's own handling in b's place.
    EXPECT_EQ(send(&window_, kWmCopyData), 7);
    EXPECT_EQ(log_, (QStringList{"a:74:0", "window"}));
    EXPECT_EQ(AttachedObjectCount(&window_, kWmCopyData), 1);
}

TEST_F(SubclassTest, TheLastDetachmentMayComeFromInsideTheDispatch) {
    Handler a("a", kPostProcess, 1, log_);
    a.onCall = [&] { DetachMessage(&a, &window_, kWmCopyData); };
    AttachMessage(&a, &window_, kWmCopyData);
    EXPECT_EQ(send(&window_, kWmCopyData), 7);
    EXPECT_EQ(log_, (QStringList{"a:74:0", "window"}));
    EXPECT_TRUE(window_.children().isEmpty());
    log_.clear();
    EXPECT_EQ(send(&window_, kWmCopyData), 7);
    EXPECT_EQ(log_, QStringList{"window"});
}

TEST_F(SubclassTest, ADestroyedWindowTakesItsTableAlong) {
    Handler a("a", kConsume, 42, log_);
    auto* window = new LoggingWindow;
    AttachMessage(&a, window, kWmCopyData);
    ASSERT_EQ(window->children().size(), 1);
    const QPointer<QObject> table = window->children().first();
    delete window;
    EXPECT_TRUE(table.isNull());
    // The object stays usable on another window.
    AttachMessage(&a, &window_, kWmCopyData);
    EXPECT_EQ(send(&window_, kWmCopyData), 42);
}

TEST_F(SubclassTest, InvalidAndForeignWindowsAreRefusedWithoutChange) {
    Handler a("a", kConsume, 42, log_);
    expectRefusal([&] { AttachMessage(&a, nullptr, kWmCopyData); }, kInvalidWindow, "Invalid window");
    expectRefusal([&] { AttachMessage(nullptr, &window_, kWmCopyData); }, kInvalidWindow, "Invalid window");
    EXPECT_EQ(AttachmentCount(&window_), 0);
    QThread other;
    QObject foreign;
    foreign.moveToThread(&other);
    EXPECT_FALSE(IsWindowLocal(&foreign));
    expectRefusal([&] { AttachMessage(&a, &foreign, kWmCopyData); }, kExternalWindow, "Can't modify external window");
    EXPECT_TRUE(foreign.children().isEmpty());
    EXPECT_EQ(AttachmentCount(&foreign), 0);
    EXPECT_TRUE(IsWindowLocal(&window_));
}

}  // namespace
}  // namespace tamix
