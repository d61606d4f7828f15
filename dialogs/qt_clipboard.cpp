#include "dialogs/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tamix {

QtClipboard::~QtClipboard() { QObject::disconnect(changed_); }

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

void QtClipboard::setMimeData(std::unique_ptr<QMimeData> data) {
    QGuiApplication::clipboard()->setMimeData(data.release());  // the clipboard owns it
}

const QMimeData* QtClipboard::mimeData() const { return QGuiApplication::clipboard()->mimeData(); }

void QtClipboard::setChanged(std::function<void()> handler) {
    QObject::disconnect(changed_);
    if (handler) changed_ = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, handler);
}

}  // namespace tamix
