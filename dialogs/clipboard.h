#pragma once

#include <QMimeData>
#include <functional>
#include <memory>

namespace tamix {

// The desktop clipboard as commands use it: one content of several formats
// (QMimeData), replaced whole. The real clipboard and the scripted one of
// the tests implement it.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Empties the clipboard.
    virtual void clear() = 0;
    // Replaces the clipboard's content with `data`.
    virtual void setMimeData(std::unique_ptr<QMimeData> data) = 0;
    // The clipboard's content, nullptr when it holds nothing. Valid until the
    // clipboard changes.
    virtual const QMimeData* mimeData() const = 0;
    // Calls `handler` after every change of the content, by this program or
    // another, until a new handler replaces it (an empty one: none).
    virtual void setChanged(std::function<void()> handler) = 0;
};

}  // namespace tamix
