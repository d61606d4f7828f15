#pragma once

#include <QColor>
#include <QWidget>

namespace tamix {

// The vertical bar between the tree and the editor. It only reports the
// mouse (x in twips, in its own coordinates) and paints itself in a colour
// the window chooses; the window moves it and resizes the panes.
class SplitterBar : public QWidget {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget* parent = nullptr);

    // The bar's colour; an invalid colour paints the button face.
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }

signals:
    // button: 1 left, 2 right, 4 middle (MouseMove: the buttons held).
    void MouseDown(int button, int x);
    void MouseMove(int button, int x);
    void MouseUp(int button, int x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int twipsX(const QMouseEvent* event) const;
    static int buttonCode(Qt::MouseButtons buttons);

    QColor colour_;  // invalid: the palette's button colour
};

}  // namespace tamix
