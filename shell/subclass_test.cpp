#include "shell/subclass.h"
#include "testing/test_app.h"
#include "shell/window_message.h"

#include <QCoreApplication>
#include <QWidget>
#include <QThread>
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

class Handler : public ISubclass {
public:
    Handler(QString name, int response, qintptr answer, QStringList& log)
        : name_(std::move(name)), response_(response), answer_(answer), log_(log) {}
    int MsgResponse() const override { return response_; }
    void setMsgResponse(int) override {}
    qintptr WindowProc(QObject*, int message, qintptr wParam, qintptr) override {
        log_ << QStringLiteral("%1:%2:%3").arg(name_).arg(message).arg(wParam);
        return answer_;
    }

private:
    QString name_;
    int response_;
    qintptr answer_;
    QStringList& log_;
};

qintptr send(QObject* window, int message, qintptr wParam = 0) {
    WindowMessage m(message, wParam, 0);
    QCoreApplication::sendEvent(window, &m);
    return m.result();
}

class SubclassTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_.log = &log_;
        h_ = WindowHandleText(&window_);
    }
    bool appReady_ = (testApp(), true);
    QStringList log_;
    LoggingWindow window_;
    QByteArray h_;
};

TEST_F(SubclassTest, PostProcessRunsTheObjectThenTheWindowAndAnswersTheWindows) {
    Handler a("a", kPostProcess, 42, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    EXPECT_EQ(send(&window_, kWmCopyData, 3), 7);
    EXPECT_EQ(log_, (QStringList{"a:74:3", "window"}));
    DetachMessage(&a, &window_, kWmCopyData);
}

TEST_F(SubclassTest, PreProcessRunsTheWindowFirstAndAnswersTheObjects) {
    Handler a("a", kPreProcess, 42, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    EXPECT_EQ(send(&window_, kWmCopyData), 42);
    EXPECT_EQ(log_, (QStringList{"window", "a:74:0"}));
    DetachMessage(&a, &window_, kWmCopyData);
}

TEST_F(SubclassTest, ConsumeSkipsTheWindow) {
    Handler a("a", kConsume, 42, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    EXPECT_EQ(send(&window_, kWmCopyData), 42);
    EXPECT_EQ(log_, QStringList{"a:74:0"});
    DetachMessage(&a, &window_, kWmCopyData);
}

TEST_F(SubclassTest, OtherMessagesGoStraightToTheWindow) {
    Handler a("a", kConsume, 42, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    EXPECT_EQ(send(&window_, 0x10), 7);
    EXPECT_EQ(log_, QStringList{"window"});
    DetachMessage(&a, &window_, kWmCopyData);
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
    DetachMessage(&a, &window_, kWmCopyData);
    DetachMessage(&c, &window_, kWmCopyData);
}

TEST_F(SubclassTest, BookkeepingLivesInTheWindowsProperties) {
    Handler a("a", kPostProcess, 0, log_);
    Handler b("b", kPostProcess, 0, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    AttachMessage(&b, &window_, 0x203);
    EXPECT_EQ(window_.property("C" + h_).toInt(), 2);
    EXPECT_EQ(window_.property(h_ + "#74C").toInt(), 1);
    EXPECT_EQ(window_.property(h_ + "#515C").toInt(), 1);
    EXPECT_EQ(window_.property(h_ + "#74#1").toULongLong(),
              static_cast<qulonglong>(reinterpret_cast<quintptr>(static_cast<ISubclass*>(&a))));
    EXPECT_TRUE(window_.property(h_).isValid());
}

TEST_F(SubclassTest, DetachingEverythingRemovesTheFilterAndEveryProperty) {
    Handler a("a", kConsume, 42, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    AttachMessage(&a, &window_, 0x203);
    DetachMessage(&a, &window_, kWmCopyData);
    DetachMessage(&a, &window_, 0x203);
    EXPECT_TRUE(window_.dynamicPropertyNames().isEmpty()) << window_.dynamicPropertyNames().join(',').toStdString();
    EXPECT_EQ(send(&window_, kWmCopyData), 7);
    EXPECT_EQ(log_, QStringList{"window"});
}

TEST_F(SubclassTest, AttachingTheSameObjectTwiceIsRefusedAndNotCounted) {
    Handler a("a", kConsume, 42, log_);
    AttachMessage(&a, &window_, kWmCopyData);
    try {
        AttachMessage(&a, &window_, kWmCopyData);
        FAIL() << "second attachment accepted";
    } catch (const SubclassError& e) {
        EXPECT_EQ(e.number(), SubclassError::numberFor(kAlreadyHandled));
        EXPECT_EQ(static_cast<quint32>(e.number()), 0x80040000u + 13082u);
        EXPECT_STREQ(e.what(), "Message already handled by another class");
        EXPECT_EQ(e.source(), "tamix_shell_support_test.WindowProc");  // this program's base name
    }
    EXPECT_EQ(window_.property("C" + h_).toInt(), 1);
    EXPECT_EQ(window_.property(h_ + "#74C").toInt(), 1);
    DetachMessage(&a, &window_, kWmCopyData);
    EXPECT_TRUE(window_.dynamicPropertyNames().isEmpty());
}

TEST_F(SubclassTest, InvalidAndForeignWindowsAreRefusedWithoutChange) {
    Handler a("a", kConsume, 42, log_);
    try {
        AttachMessage(&a, nullptr, kWmCopyData);
        FAIL();
    } catch (const SubclassError& e) {
        EXPECT_EQ(e.number(), SubclassError::numberFor(kInvalidWindow));
        EXPECT_STREQ(e.what(), "Invalid window");
    }
    QThread other;
    QObject foreign;
    foreign.moveToThread(&other);
    EXPECT_FALSE(IsWindowLocal(&foreign));
    try {
        AttachMessage(&a, &foreign, kWmCopyData);
        FAIL();
    } catch (const SubclassError& e) {
        EXPECT_EQ(e.number(), SubclassError::numberFor(kExternalWindow));
        EXPECT_STREQ(e.what(), "Can't modify external window");
    }
    EXPECT_TRUE(foreign.dynamicPropertyNames().isEmpty());
    EXPECT_TRUE(IsWindowLocal(&window_));
}

}  // namespace
}  // namespace tamix
