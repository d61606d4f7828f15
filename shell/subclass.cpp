#include "shell/subclass.h"

#include "shell/window_message.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <QVariant>

namespace tamix {

namespace {

const char* descriptionFor(SubclassErrorCode code) {
    switch (code) {
    case kCantSubclass: return "Can't subclass window";
    case kAlreadyHandled: return "Message already handled by another class";
    case kInvalidWindow: return "Invalid window";
    case kExternalWindow: return "Can't modify external window";
    }
    return "Subclassing error";
}

std::string errorSource() {
    QString base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (base.isEmpty()) base = QStringLiteral("tamix");
    return (base + QStringLiteral(".WindowProc")).toStdString();
}

QByteArray messageCountName(const QByteArray& h, int m) {
    return h + '#' + QByteArray::number(m) + 'C';
}

QByteArray messageEntryName(const QByteArray& h, int m, int i) {
    return h + '#' + QByteArray::number(m) + '#' + QByteArray::number(i);
}

int intProperty(const QObject* o, const QByteArray& name) { return o->property(name).toInt(); }

// The dispatching "window procedure": an event filter that hands the
// WindowMessage events of its window to the attached objects in order. The
// window's own handling (the previous procedure) is the rest of the event's
// normal delivery, reached by sending the event again while this filter
// stands aside.
class Dispatcher : public QObject {
public:
    explicit Dispatcher(QObject* window) : QObject(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (passing_ || event->type() != WindowMessage::eventType()) return false;
        auto* msg = static_cast<WindowMessage*>(event);
        const QByteArray h = WindowHandleText(watched);
        const int n = intProperty(watched, messageCountName(h, msg->message()));
        if (n < 1) return false;

        qintptr result = 0;
        bool previousCalled = false;
        for (int i = 1; i <= n; ++i) {
            const auto address = watched->property(messageEntryName(h, msg->message(), i)).toULongLong();
            if (address == 0) {
                result = callPrevious(watched, msg);
                break;
            }
            auto* object = reinterpret_cast<ISubclass*>(static_cast<quintptr>(address));
            if (i == 1 && object->MsgResponse() == kPreProcess) {
                callPrevious(watched, msg);
                previousCalled = true;
            }
            result = object->WindowProc(watched, msg->message(), msg->wParam(), msg->lParam());
            if (i == n && object->MsgResponse() == kPostProcess && !previousCalled) {
                result = callPrevious(watched, msg);
                previousCalled = true;
            }
        }
        msg->setResult(result);
        return true;
    }

private:
    qintptr callPrevious(QObject* window, WindowMessage* msg) {
        msg->setResult(0);
        passing_ = true;
        QCoreApplication::sendEvent(window, msg);
        passing_ = false;
        return msg->result();
    }

    bool passing_ = false;  // true while the window's own handling runs
};

}  // namespace

SubclassError::SubclassError(SubclassErrorCode code, std::string source)
    : TamixError(numberFor(code), descriptionFor(code)), source_(std::move(source)) {}

int SubclassError::numberFor(SubclassErrorCode code) {
    return static_cast<int>(static_cast<quint32>(0x80040000u) + static_cast<quint32>(code));
}

QByteArray WindowHandleText(const QObject* window) {
    return QByteArray::number(static_cast<qulonglong>(reinterpret_cast<quintptr>(window)));
}

bool IsWindowLocal(const QObject* window) {
    return window && window->thread() == QThread::currentThread();
}

void AttachMessage(ISubclass* object, QObject* window, int message) {
    if (!window || !object) throw SubclassError(kInvalidWindow, errorSource());
    if (!IsWindowLocal(window)) throw SubclassError(kExternalWindow, errorSource());

    const QByteArray h = WindowHandleText(window);
    const QByteArray countName = "C" + h;
    const int attachments = intProperty(window, countName);
    const QByteArray listCount = messageCountName(h, message);
    const int n = intProperty(window, listCount);
    for (int i = 1; i <= n; ++i) {
        if (window->property(messageEntryName(h, message, i)).toULongLong() ==
            reinterpret_cast<quintptr>(object))
            throw SubclassError(kAlreadyHandled, errorSource());
    }

    if (attachments != 0) {
        window->setProperty(countName, attachments + 1);
    } else {
        auto* dispatcher = new Dispatcher(window);
        if (dispatcher->thread() != window->thread()) {
            delete dispatcher;
            throw SubclassError(kCantSubclass, errorSource());
        }
        window->installEventFilter(dispatcher);
        window->setProperty(h, static_cast<qulonglong>(reinterpret_cast<quintptr>(dispatcher)));
        window->setProperty(countName, 1);
    }
    window->setProperty(listCount, n + 1);
    window->setProperty(messageEntryName(h, message, n + 1),
                        static_cast<qulonglong>(reinterpret_cast<quintptr>(object)));
}

void DetachMessage(ISubclass* object, QObject* window, int message) {
    if (!window) return;
    const QByteArray h = WindowHandleText(window);
    const QByteArray countName = "C" + h;
    const int attachments = intProperty(window, countName);
    if (attachments == 1) {
        auto* dispatcher = reinterpret_cast<QObject*>(
            static_cast<quintptr>(window->property(h).toULongLong()));
        if (dispatcher) {
            window->removeEventFilter(dispatcher);
            delete dispatcher;
        }
        window->setProperty(h, QVariant());
        window->setProperty(countName, QVariant());
    } else if (attachments > 1) {
        window->setProperty(countName, attachments - 1);
    }

    const QByteArray listCount = messageCountName(h, message);
    const int n = intProperty(window, listCount);
    if (n < 1) return;
    const auto address = static_cast<qulonglong>(reinterpret_cast<quintptr>(object));
    int found = 0;
    for (int i = 1; i <= n && !found; ++i)
        if (window->property(messageEntryName(h, message, i)).toULongLong() == address) found = i;
    if (!found) return;
    for (int i = found; i < n; ++i)
        window->setProperty(messageEntryName(h, message, i),
                            window->property(messageEntryName(h, message, i + 1)));
    window->setProperty(messageEntryName(h, message, n), QVariant());
    if (n - 1 > 0)
        window->setProperty(listCount, n - 1);
    else
        window->setProperty(listCount, QVariant());
}

}  // namespace tamix
