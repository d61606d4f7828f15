#include "shell/instance_channel.h"

#include "shell/window_message.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>

namespace tamix {

namespace {

void appendLong(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

quint32 readLong(const char* bytes) { return qFromLittleEndian<quint32>(bytes); }

}  // namespace

QByteArray CommandMessage::encode(const QByteArray& commandLineBytes) {
    const QByteArray data = commandLineBytes.isEmpty() ? QByteArray(1, '\0') : commandLineBytes;
    QByteArray out;
    appendLong(out, 0);
    appendLong(out, static_cast<quint32>(data.size()));
    out.append(data);
    return out;
}

bool CommandMessage::feed(const QByteArray& bytes) {
    if (complete_ || failed_) return complete_;
    buffer_.append(bytes);
    if (!haveHeader_) {
        if (buffer_.size() < 8) return false;
        dwData_ = readLong(buffer_.constData());
        count_ = readLong(buffer_.constData() + 4);
        buffer_.remove(0, 8);
        haveHeader_ = true;
        if (count_ > kMaxBytes) {
            failed_ = true;
            buffer_.clear();
            return false;
        }
    }
    if (static_cast<quint32>(buffer_.size()) < count_) return false;
    data_ = buffer_.left(count_);
    buffer_.clear();
    complete_ = true;
    return true;
}

InstanceServer::InstanceServer(QString socketPath, QObject* target, QObject* parent)
    : QObject(parent), path_(std::move(socketPath)), target_(target),
      server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::onConnection);
}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen() {
    // Only the holder of the instance lock listens, so a socket file already
    // there was left by a first instance that has died.
    QLocalServer::removeServer(path_);
    return server_->listen(path_);
}

void InstanceServer::onConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        pending_[socket] = std::make_unique<CommandMessage>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            pending_.erase(socket);
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0) onReadable(socket);
    }
}

void InstanceServer::onReadable(QLocalSocket* socket) {
    const auto found = pending_.find(socket);
    if (found == pending_.end() || found->second->complete()) return;
    CommandMessage* message = found->second.get();
    message->feed(socket->readAll());
    if (message->failed()) {
        socket->disconnectFromServer();
        return;
    }
    if (!message->complete()) return;

    CopyDataStruct cds;
    cds.dwData = message->dwData();
    cds.cbData = static_cast<quint32>(message->data().size());
    cds.lpData = message->data().constData();
    qintptr result = 0;
    if (target_) {
        WindowMessage wm(kWmCopyData, 0, reinterpret_cast<qintptr>(&cds));
        QCoreApplication::sendEvent(target_, &wm);
        result = wm.result();
    }
    QByteArray answer;
    appendLong(answer, static_cast<quint32>(result));
    socket->write(answer);
    socket->flush();
    socket->disconnectFromServer();
}

bool SendCommandLine(const QString& socketPath, const QByteArray& commandLineBytes, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return false;
    socket.write(CommandMessage::encode(commandLineBytes));
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    QByteArray answer;
    while (answer.size() < 4) {
        if (socket.bytesAvailable() == 0 &&
            (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))))
            return false;
        answer.append(socket.readAll());
    }
    return true;
}

}  // namespace tamix
