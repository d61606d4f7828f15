#include "dialogs/scripted_clipboard.h"

namespace tamix {

void ScriptedClipboard::clear() {
    data_.reset();
    if (changed_) changed_();
}

void ScriptedClipboard::setMimeData(std::unique_ptr<QMimeData> data) {
    data_ = std::move(data);
    ++writes_;
    if (changed_) changed_();
}

void ScriptedClipboard::setText(const QString& text) {
    data_ = std::make_unique<QMimeData>();
    data_->setText(text);
    if (changed_) changed_();
}

void ScriptedClipboard::setData(const QString& format, const QByteArray& data) {
    data_ = std::make_unique<QMimeData>();
    data_->setData(format, data);
    if (changed_) changed_();
}

}  // namespace tamix
