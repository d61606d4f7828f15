#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <unordered_map>

class QLocalServer;
class QLocalSocket;

namespace tamix {

// The message a second instance sends the first: dwData (32-bit, 0), the
// byte count (32-bit), then the command line's bytes in code page 1252, all
// little-endian; an empty command line is sent as a single zero byte.
class CommandMessage {
public:
    // The whole message for a command line given as code-page bytes.
    static QByteArray encode(const QByteArray& commandLineBytes);

    // Feeds received bytes; true once a whole message has arrived (further
    // bytes are ignored). A message announcing more than kMaxBytes is refused:
    // failed() turns true and nothing more is collected.
    bool feed(const QByteArray& bytes);
    bool complete() const { return complete_; }
    bool failed() const { return failed_; }
    quint32 dwData() const { return dwData_; }
    // The bytes as sent (a single zero byte for an empty command line).
    const QByteArray& data() const { return data_; }

    static constexpr quint32 kMaxBytes = 1u << 20;

private:
    QByteArray buffer_;   // bytes received and not yet parsed
    QByteArray data_;
    quint32 dwData_ = 0;
    quint32 count_ = 0;
    bool haveHeader_ = false;
    bool complete_ = false;
    bool failed_ = false;
};

// The first instance's end of the channel: a local socket reachable only by
// the same user. Each whole message becomes a WindowMessage kWmCopyData sent
// (synchronously) to the target window, whose answer goes back as 4 bytes.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    // socketPath: the full path of the socket, e.g. runtime dir + "/TAMIX_APPLICATION".
    InstanceServer(QString socketPath, QObject* target, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Starts listening, replacing a stale socket left by a dead first instance.
    bool listen();
    const QString& socketPath() const { return path_; }

private:
    void onConnection();
    void onReadable(QLocalSocket* socket);

    QString path_;
    QPointer<QObject> target_;
    QLocalServer* server_;  // owned as a child
    // The message being received on each open connection; an entry lives
    // from the connection until its socket disconnects.
    std::unordered_map<QLocalSocket*, std::unique_ptr<CommandMessage>> pending_;
};

// The second instance's end: sends one command line (code-page bytes) to the
// first instance and waits for its answer, `timeoutMs` in all. False when no
// first instance listens or it did not answer in time; the caller ignores
// the answer either way, as a lost command line is not an error.
bool SendCommandLine(const QString& socketPath, const QByteArray& commandLineBytes,
                     int timeoutMs = 5000);

}  // namespace tamix
