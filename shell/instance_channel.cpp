#include "shell/instance_channel.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtEndian>
#include <memory>

namespace tamix {

namespace {

void appendLong(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

quint32 readLong(const char* bytes) { return qFromLittleEndian<quint32>(bytes); }

}  // namespace

QByteArray CommandMessage::encode(const QByteArray& commandLineBytes, quint32 dwData) {
    const QByteArray data = commandLineBytes.isEmpty() ? QByteArray(1, '\0') : commandLineBytes;
    QByteArray out;
    appendLong(out, dwData);
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

InstanceServer::InstanceServer(QString socketPath, PendingCommands& queue, QObject* parent)
    : QObject(parent), path_(std::move(socketPath)), queue_(&queue), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::onConnection);
}

InstanceServer::InstanceServer(QString socketPath, QObject* target, QObject* parent)
    : QObject(parent), path_(std::move(socketPath)), server_(new QLocalServer(this)) {
    queue_ = new PendingCommands(target, this);
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
        // The socket is a child of server_; the message lives as long as the
        // connections below, which end with the socket.
        auto message = std::make_shared<CommandMessage>();
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket, message] { onReadable(*socket, *message); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0) onReadable(*socket, *message);
        // A connection already closed emits no disconnected() any more.
        if (socket->state() == QLocalSocket::UnconnectedState) socket->deleteLater();
    }
}

void InstanceServer::onReadable(QLocalSocket& socket, CommandMessage& message) {
    if (message.complete() || message.failed()) {
        socket.readAll();
        return;
    }
    message.feed(socket.readAll());
    if (message.failed()) {
        socket.disconnectFromServer();
        return;
    }
    if (!message.complete()) return;

    // Nothing here may run an event loop: the socket is used only until
    // disconnectFromServer(), after which its deletion may be pending.
    if (queue_) queue_->enqueue(message.dwData(), message.data());
    QByteArray answer;
    appendLong(answer, 0);
    socket.write(answer);
    socket.flush();
    socket.disconnectFromServer();
}

bool SendCommandLine(const QString& socketPath, const QByteArray& commandLineBytes, int timeoutMs,
                     quint32 dwData) {
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return false;
    socket.write(CommandMessage::encode(commandLineBytes, dwData));
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
