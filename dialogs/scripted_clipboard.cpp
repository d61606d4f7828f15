#include "dialogs/scripted_clipboard.h"

namespace tamix {

void ScriptedClipboard::setMimeData(std::unique_ptr<QMimeData> data) {
    data_ = std::move(data);
    ++writes_;
}

void ScriptedClipboard::setText(const QString& text) {
    data_ = std::make_unique<QMimeData>();
    data_->setText(text);
}

void ScriptedClipboard::setData(const QString& format, const QByteArray& data) {
    data_ = std::make_unique<QMimeData>();
    data_->setData(format, data);
}

}  // namespace tamix
