#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>

class QTimer;

namespace tamix {

// Command lines received from second instances, waiting for their window.
// Each is delivered as a WindowMessage kWmCopyData (a CopyDataStruct with
// its dwData and bytes) sent to the target, in arrival order, one at a time,
// from the event loop and never from inside enqueue(). A command is
// delivered only while the readiness predicate answers true, which is asked
// again before every delivery; a delivery whose handler runs a nested event
// loop completes before the next one starts.
class PendingCommands : public QObject {
    Q_OBJECT
public:
    // The interval at which a non-empty queue asks the predicate again.
    static constexpr int kRetryMs = 100;

    explicit PendingCommands(QObject* target, QObject* parent = nullptr);
    ~PendingCommands() override;

    // The predicate, e.g. "no modal dialog is open and no command is
    // running"; without one (or with an empty one) the target is always ready.
    void setReady(std::function<bool()> ready);

    // Queues a command and schedules its delivery. Commands queued after
    // the target is gone are dropped.
    void enqueue(quint32 dwData, const QByteArray& bytes);

    // Commands queued and not yet delivered (the one being delivered is not counted).
    qsizetype size() const { return static_cast<qsizetype>(queue_.size()); }

private:
    struct Command {
        quint32 dwData;
        QByteArray bytes;
    };

    void schedule(int delayMs);
    void deliverNext();

    QPointer<QObject> target_;
    std::function<bool()> ready_;
    std::deque<Command> queue_;
    QTimer* timer_;           // owned as a child; active only while queue_ is non-empty
    bool delivering_ = false;  // true while a command's WindowMessage is being handled
};

}  // namespace tamix
