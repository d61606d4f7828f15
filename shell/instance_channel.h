#pragma once

#include "shell/pending_commands.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace tamix {

// The message a second instance sends the first: dwData (32-bit, 0), the
// byte count (32-bit), then the command line's bytes in code page 1252, all
// little-endian; an empty command line is sent as a single zero byte.
class CommandMessage {
public:
    // The whole message for a command line given as code-page bytes.
    // dwData is kCodePageText (the bytes are code page 1252) or kUtf8Text
    // (a path code page 1252 cannot hold, sent in UTF-8).
    static QByteArray encode(const QByteArray& commandLineBytes, quint32 dwData = kCodePageText);
    static constexpr quint32 kCodePageText = 0;
    static constexpr quint32 kUtf8Text = 1;

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
// the same user. Each whole message is answered at once (the 4 bytes of 0,
// then the connection is closed) and its dwData and bytes are handed to a
// PendingCommands queue, which delivers them to the window when it is ready.
// The window is never called from the socket handling, and each connection's
// socket is deleted once it disconnects (or with the server).
class InstanceServer : public QObject {
    Q_OBJECT
public:
    // socketPath: the full path of the socket, e.g. runtime dir + "/TAMIX_APPLICATION".
    // The queue belongs to the caller; messages arriving after it is gone are dropped.
    InstanceServer(QString socketPath, PendingCommands& queue, QObject* parent = nullptr);
    // As above with a queue of the server's own that delivers to `target`
    // whenever no other command is being delivered.
    InstanceServer(QString socketPath, QObject* target, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Starts listening, replacing a stale socket left by a dead first instance.
    bool listen();
    const QString& socketPath() const { return path_; }

private:
    void onConnection();
    void onReadable(QLocalSocket& socket, CommandMessage& message);

    QString path_;
    QPointer<PendingCommands> queue_;
    QLocalServer* server_;  // owned as a child; the parent of every open connection's socket
};

// The second instance's end: sends one command line (code-page bytes) to the
// first instance and waits for its answer, `timeoutMs` in all. False when no
// first instance listens or it did not answer in time; the caller ignores
// the answer either way, as a lost command line is not an error.
bool SendCommandLine(const QString& socketPath, const QByteArray& commandLineBytes,
                     int timeoutMs = 5000, quint32 dwData = CommandMessage::kCodePageText);

}  // namespace tamix
