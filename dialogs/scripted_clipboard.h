#pragma once

#include "dialogs/clipboard.h"

namespace tamix {

// A clipboard of the program's own for tests: what a test puts on it is what
// a paste reads, and every write is counted.
class ScriptedClipboard : public Clipboard {
public:
    void clear() override;
    void setMimeData(std::unique_ptr<QMimeData> data) override;
    const QMimeData* mimeData() const override { return data_.get(); }
    void setChanged(std::function<void()> handler) override { changed_ = std::move(handler); }

    // Puts plain text, or data of one format, on the clipboard (as another
    // program would).
    void setText(const QString& text);
    void setData(const QString& format, const QByteArray& data);
    // How many times setMimeData has been called.
    int writes() const { return writes_; }

private:
    std::unique_ptr<QMimeData> data_;  // null while empty
    int writes_ = 0;
    std::function<void()> changed_;
};

}  // namespace tamix
