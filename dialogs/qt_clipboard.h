#pragma once

#include "dialogs/clipboard.h"

namespace tamix {

// The desktop's clipboard (QGuiApplication::clipboard()).
class QtClipboard : public Clipboard {
public:
    void clear() override;
    void setMimeData(std::unique_ptr<QMimeData> data) override;
    const QMimeData* mimeData() const override;
};

}  // namespace tamix
