#pragma once

#include "dialogs/clipboard.h"

#include <QMetaObject>

namespace tamix {

// The desktop's clipboard (QGuiApplication::clipboard()).
class QtClipboard : public Clipboard {
public:
    QtClipboard() = default;
    ~QtClipboard() override;
    QtClipboard(const QtClipboard&) = delete;
    QtClipboard& operator=(const QtClipboard&) = delete;

    void clear() override;
    void setMimeData(std::unique_ptr<QMimeData> data) override;
    const QMimeData* mimeData() const override;
    void setChanged(std::function<void()> handler) override;

private:
    QMetaObject::Connection changed_;  // to the desktop clipboard's dataChanged
};

}  // namespace tamix
