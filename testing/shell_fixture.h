#pragma once

// The main-window driver with what several shell tests share: files and
// settings prepared before a start, the tree's label editor, and a drag in
// the tree whose platform part (enter, move, drop) the test plays.

#include "testing/main_window_fixture.h"
#include "tree/tree_drag.h"

#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QStatusBar>
#include <functional>

namespace tamix {

class ShellFixture : public MainWindowFixture {
protected:
    // MainWindowFixture::start; a drag then runs `during_` as the platform's
    // drag loop.
    frmMain& start(const QString& commandLine = QString()) {
        frmMain& w = MainWindowFixture::start(commandLine);
        w.treeDrag().setDragStarter([this] { if (during_) during_(); });
        return w;
    }
    static QString keyOf(int number) { return QString::fromStdString(NodeKey::Format(number)); }
    // Writes `bytes` as the file `name` in the test's folder; answers its path.
    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
        f.write(bytes);
        return f.fileName();
    }
    // A settings value in place before the window starts.
    void seed(const QString& section, const QString& key, const QString& value) {
        Settings(ini()).setString(section, key, value);
    }

    QLineEdit* labelEditor() {
        for (QLineEdit* line : tree().viewport()->findChildren<QLineEdit*>())
            if (line->isVisible()) return line;
        return nullptr;
    }
    // Replaces the text in the open label editor and presses Enter.
    void typeLabel(const QString& text) {
        QLineEdit* line = labelEditor();
        ASSERT_NE(line, nullptr);
        line->selectAll();
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(line, c.toLatin1());
            else  // a key of another keyboard layout: only its text counts
                QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(c), {});
        }
        QTest::keyClick(line, Qt::Key_Return);
        QApplication::processEvents();  // the closed editor goes away
    }

    // What the platform delivers to the tree during a drag.
    void deliver(QEvent::Type type, QPoint pixels) {
        QMimeData mime;
        mime.setData(controls::TreeView::kNodeMimeType, QByteArray("k"));
        if (type == QEvent::DragEnter) {
            QDragEnterEvent e(pixels, Qt::MoveAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(tree().viewport(), &e);
        } else if (type == QEvent::DragMove) {
            QDragMoveEvent e(pixels, Qt::MoveAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(tree().viewport(), &e);
        } else {
            QDropEvent e(QPointF(pixels), Qt::MoveAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(tree().viewport(), &e);
        }
    }
    // A real press on `from` and a move with the left button held, which
    // starts the drag; `whileDragging` plays the platform's part.
    void dragFrom(int from, std::function<void()> whileDragging) {
        during_ = std::move(whileDragging);
        QTest::mousePress(tree().viewport(), Qt::LeftButton, {}, at(from));
        QTest::mouseMove(tree().viewport(), at(from) + QPoint(0, QApplication::startDragDistance() + 3));
        QTest::mouseRelease(&window_->statusBar1(), Qt::LeftButton, {}, QPoint(1, 1));
    }
    void dropOn(int from, int to) {
        dragFrom(from, [=, this] {
            deliver(QEvent::DragEnter, at(from));
            deliver(QEvent::DragMove, at(to));
            deliver(QEvent::Drop, at(to));
        });
    }

    std::function<void()> during_;
};

}  // namespace tamix
