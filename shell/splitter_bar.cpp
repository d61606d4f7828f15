#include "shell/splitter_bar.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace tamix {

SplitterBar::SplitterBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Splitter"));
    setCursor(Qt::SplitHCursor);
    setMouseTracking(false);
}

void SplitterBar::setColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void SplitterBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_.isValid() ? colour_ : palette().color(QPalette::Button));
}

int SplitterBar::twipsX(const QMouseEvent* event) const {
    const double tpp = 1440.0 / logicalDpiX();
    return static_cast<int>(std::lround(event->position().x() * tpp));
}

int SplitterBar::buttonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) code |= 1;
    if (buttons & Qt::RightButton) code |= 2;
    if (buttons & Qt::MiddleButton) code |= 4;
    return code;
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(buttonCode(event->button()), twipsX(event));
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(buttonCode(event->buttons()), twipsX(event));
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(buttonCode(event->button()), twipsX(event));
}

}  // namespace tamix
