#include "shell/subclass.h"

#include "shell/window_message.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

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

// The dispatching "window procedure" of one window and the table of what is
// attached to it: an event filter that hands the WindowMessage events of its
// window to the attached objects in order. The window's own handling (the
// previous procedure) is the rest of the event's normal delivery, reached by
// sending the event again while this filter stands aside.
class Dispatcher : public QObject {
public:
    explicit Dispatcher(QObject* window) : QObject(window), window_(window) {}

    // The window's dispatcher, with destroyed objects dropped; nullptr when
    // the window has none (or when dropping ended its last attachment, which
    // removes it).
    static Dispatcher* of(QObject* window) {
        for (QObject* child : window->children()) {
            if (auto* dispatcher = dynamic_cast<Dispatcher*>(child)) {
                if (dispatcher->dropDestroyed() && dispatcher->attachments_ == 0) {
                    dispatcher->remove();
                    return nullptr;
                }
                return dispatcher;
            }
        }
        return nullptr;
    }

    // Installs a new dispatcher with no attachment on `window`.
    static Dispatcher* install(QObject* window) {
        auto* dispatcher = new Dispatcher(window);
        if (dispatcher->thread() != window->thread()) {
            delete dispatcher;
            throw SubclassError(kCantSubclass, errorSource());
        }
        window->installEventFilter(dispatcher);
        return dispatcher;
    }

    // Uninstalls and deletes this dispatcher, with its table.
    void remove() {
        if (window_) window_->removeEventFilter(this);
        delete this;
    }

    bool contains(ISubclass* object, int message) const {
        const auto list = lists_.find(message);
        if (list == lists_.end()) return false;
        return std::any_of(list->second.begin(), list->second.end(),
                           [object](const Guard& g) { return g.lock().get() == object; });
    }

    void attach(ISubclass* object, int message) {
        lists_[message].push_back(object->lifetimeGuard());
        ++attachments_;
    }

    // Ends one attachment; takes `object` off the message's list when there.
    void detach(ISubclass* object, int message) {
        if (attachments_ > 0) --attachments_;
        const auto list = lists_.find(message);
        if (list == lists_.end()) return;
        auto& guards = list->second;
        const auto found = std::find_if(guards.begin(), guards.end(),
                                        [object](const Guard& g) { return g.lock().get() == object; });
        if (found != guards.end()) guards.erase(found);
        if (guards.empty()) lists_.erase(list);
    }

    int attachments() const { return attachments_; }

    int objectCount(int message) const {
        const auto list = lists_.find(message);
        return list == lists_.end() ? 0 : static_cast<int>(list->second.size());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (passing_ || watched != window_ || event->type() != WindowMessage::eventType()) return false;
        auto* msg = static_cast<WindowMessage*>(event);
        if (dropDestroyed() && attachments_ == 0) {
            remove();
            return false;
        }
        const auto list = lists_.find(msg->message());
        if (list == lists_.end()) return false;

        // A copy: the objects may attach, detach or delete this dispatcher.
        // No object is held past a call, so its guard expires with it.
        const std::vector<Guard> guards = list->second;
        const QPointer<QObject> window = window_;
        const QPointer<Dispatcher> self(this);
        const auto n = guards.size();
        qintptr result = 0;
        bool previousCalled = false;
        for (std::size_t i = 0; i < n && window; ++i) {
            if (i == 0 && !guards[i].expired() && guards[i].lock()->MsgResponse() == kPreProcess) {
                callPrevious(self, window, msg);
                previousCalled = true;
            }
            ISubclass* object = guards[i].lock().get();
            if (!object) {
                if (!previousCalled) result = callPrevious(self, window, msg);
                break;
            }
            result = object->WindowProc(window, msg->message(), msg->wParam(), msg->lParam());
            // An object destroyed by its own call cannot post-process.
            object = guards[i].lock().get();
            if (i == n - 1 && object && object->MsgResponse() == kPostProcess && !previousCalled && window) {
                result = callPrevious(self, window, msg);
                previousCalled = true;
            }
        }
        msg->setResult(result);
        return true;
    }

private:
    using Guard = std::weak_ptr<ISubclass>;

    // Drops every destroyed object, each ending one attachment; true when
    // any was dropped.
    bool dropDestroyed() {
        int dropped = 0;
        for (auto list = lists_.begin(); list != lists_.end();) {
            auto& guards = list->second;
            const auto before = guards.size();
            std::erase_if(guards, [](const Guard& g) { return g.expired(); });
            dropped += static_cast<int>(before - guards.size());
            list = guards.empty() ? lists_.erase(list) : std::next(list);
        }
        attachments_ = std::max(0, attachments_ - dropped);
        return dropped > 0;
    }

    // Runs the window's own handling of `msg` and returns its answer. `self`
    // is this dispatcher, or null once an object has removed it.
    static qintptr callPrevious(const QPointer<Dispatcher>& self, QObject* window, WindowMessage* msg) {
        msg->setResult(0);
        if (self) self->passing_ = true;
        QCoreApplication::sendEvent(window, msg);
        if (self) self->passing_ = false;
        return msg->result();
    }

    QPointer<QObject> window_;  // the parent; the only object this filter dispatches for
    // Per message, the attached objects in attachment order; no list is empty.
    std::map<int, std::vector<Guard>> lists_;
    int attachments_ = 0;   // the window's attachment count, all messages together
    bool passing_ = false;  // true while the window's own handling runs
};

}  // namespace

SubclassError::SubclassError(SubclassErrorCode code, std::string source)
    : TamixError(numberFor(code), descriptionFor(code)), source_(std::move(source)) {}

int SubclassError::numberFor(SubclassErrorCode code) {
    return static_cast<int>(static_cast<quint32>(0x80040000u) + static_cast<quint32>(code));
}

bool IsWindowLocal(const QObject* window) {
    return window && window->thread() == QThread::currentThread();
}

void AttachMessage(ISubclass* object, QObject* window, int message) {
    if (!window || !object) throw SubclassError(kInvalidWindow, errorSource());
    if (!IsWindowLocal(window)) throw SubclassError(kExternalWindow, errorSource());

    Dispatcher* dispatcher = Dispatcher::of(window);
    if (dispatcher && dispatcher->contains(object, message))
        throw SubclassError(kAlreadyHandled, errorSource());
    if (!dispatcher) dispatcher = Dispatcher::install(window);
    dispatcher->attach(object, message);
}

void DetachMessage(ISubclass* object, QObject* window, int message) {
    if (!window) return;
    Dispatcher* dispatcher = Dispatcher::of(window);
    if (!dispatcher) return;
    dispatcher->detach(object, message);
    if (dispatcher->attachments() == 0) dispatcher->remove();
}

int AttachmentCount(QObject* window) {
    const Dispatcher* dispatcher = window ? Dispatcher::of(window) : nullptr;
    return dispatcher ? dispatcher->attachments() : 0;
}

int AttachedObjectCount(QObject* window, int message) {
    const Dispatcher* dispatcher = window ? Dispatcher::of(window) : nullptr;
    return dispatcher ? dispatcher->objectCount(message) : 0;
}

}  // namespace tamix
