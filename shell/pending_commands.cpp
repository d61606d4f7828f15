#include "shell/pending_commands.h"

#include "shell/window_message.h"

#include <QCoreApplication>
#include <QTimer>

namespace tamix {

PendingCommands::PendingCommands(QObject* target, QObject* parent)
    : QObject(parent), target_(target), timer_(new QTimer(this)) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &PendingCommands::deliverNext);
}

PendingCommands::~PendingCommands() = default;

void PendingCommands::setReady(std::function<bool()> ready) { ready_ = std::move(ready); }

void PendingCommands::enqueue(quint32 dwData, const QByteArray& bytes) {
    if (!target_) return;
    queue_.push_back(Command{dwData, bytes});
    schedule(0);
}

void PendingCommands::schedule(int delayMs) {
    if (!timer_->isActive()) timer_->start(delayMs);
}

void PendingCommands::deliverNext() {
    // A timer that fires in a nested loop of the delivery under way leaves
    // the queue alone; that delivery schedules the next one when it ends.
    if (delivering_ || queue_.empty()) return;
    if (!target_) {
        queue_.clear();
        return;
    }
    if (ready_ && !ready_()) {
        schedule(kRetryMs);
        return;
    }
    const Command command = std::move(queue_.front());
    queue_.pop_front();
    CopyDataStruct cds;
    cds.dwData = command.dwData;
    cds.cbData = static_cast<quint32>(command.bytes.size());
    cds.lpData = command.bytes.constData();
    WindowMessage message(kWmCopyData, 0, reinterpret_cast<qintptr>(&cds));

    const QPointer<PendingCommands> alive(this);
    delivering_ = true;
    QCoreApplication::sendEvent(target_.data(), &message);
    if (!alive) return;
    delivering_ = false;
    if (!queue_.empty()) schedule(0);
}

}  // namespace tamix
