#include "dialogs/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tamix {

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

void QtClipboard::setMimeData(std::unique_ptr<QMimeData> data) {
    QGuiApplication::clipboard()->setMimeData(data.release());  // the clipboard owns it
}

const QMimeData* QtClipboard::mimeData() const { return QGuiApplication::clipboard()->mimeData(); }

}  // namespace tamix
