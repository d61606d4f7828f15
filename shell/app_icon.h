#pragma once

#include <QIcon>
#include <QPixmap>

namespace tamix {

// The program's icon and splash picture, drawn at run time so the program
// needs no image files beside it.
class AppIcon {
public:
    static QIcon icon();
    // The icon's artwork at `size` pixels.
    static QPixmap pixmap(int size);
    // The splash window's picture: the icon, the name and a line of text.
    static QPixmap splash();
};

}  // namespace tamix
