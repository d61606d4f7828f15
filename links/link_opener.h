#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace tamix {

// Where following a link leads. A target that starts with "Note:" names a
// note by key; any other is handed to the desktop: an address with a scheme
// as it is, a target without one that names an existing local path as that
// file, anything else as the address a browser would make of it. Programs
// are never started from a note: an executable file or a desktop launcher
// (".desktop") is refused.
class LinkOpener {
public:
    enum class Kind { Note, Address, Refused };
    struct Target {
        Kind kind = Kind::Refused;
        QString noteKey;  // Kind::Note: the key (at most 255 characters)
        QUrl url;         // Kind::Address
        QString refusal;  // Kind::Refused: the message naming the target
    };

    // Opens an address on the desktop; answers whether it was handed over.
    using Opener = std::function<bool(const QUrl&)>;

    // `open` defaults to the desktop's own opener.
    explicit LinkOpener(Opener open = {});

    static Target Classify(const QString& link);
    // Hands an address target to the desktop.
    void Open(const QUrl& url) const { open_(url); }

private:
    Opener open_;
};

}  // namespace tamix
