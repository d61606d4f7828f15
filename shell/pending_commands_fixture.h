#pragma once

#include "shell/window_message.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace tamix {

// A window stand-in that records the command lines delivered to it. While
// holdMs > 0 each delivery runs a nested event loop that long, as a modal
// box would; depth counts the deliveries under way.
class CommandWindow : public QObject {
public:
    QList<QByteArray> received;
    QList<quint32> dwData;
    int holdMs = 0;
    int depth = 0;
    int maxDepth = 0;
    std::function<void()> onDelivery;  // run at the start of each delivery

protected:
    bool event(QEvent* e) override {
        if (e->type() != WindowMessage::eventType()) return QObject::event(e);
        auto* m = static_cast<WindowMessage*>(e);
        if (m->message() != kWmCopyData) return false;
        const auto* cds = reinterpret_cast<const CopyDataStruct*>(m->lParam());
        received << QByteArray(cds->lpData, static_cast<qsizetype>(cds->cbData));
        dwData << cds->dwData;
        maxDepth = std::max(maxDepth, ++depth);
        if (onDelivery) onDelivery();
        if (holdMs > 0) {
            QEventLoop nested;
            QTimer::singleShot(holdMs, &nested, &QEventLoop::quit);
            nested.exec();
        }
        --depth;
        m->setResult(1);
        return true;
    }
};

// Runs an event loop (deferred deletions included) until `done` answers true
// or `ms` have passed; answers done().
inline bool runLoopUntil(const std::function<bool()>& done, int ms) {
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= ms) loop.quit();
    });
    poll.start(5);
    if (!done()) loop.exec();
    return done();
}

inline void runLoopFor(int ms) {
    runLoopUntil([] { return false; }, ms);
}

}  // namespace tamix
