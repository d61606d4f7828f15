#pragma once

#include <QDialog>
#include <QIcon>

namespace tamix {

// The about window: the program's icon, name, version and a line on what it is.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const QString& title, const QIcon& icon, QWidget* parent = nullptr);
};

}  // namespace tamix
