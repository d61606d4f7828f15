#include "dialogs/about_dialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tamix {

AboutDialog::AboutDialog(const QString& title, const QIcon& icon, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("About ") + title);
    setWindowIcon(icon);
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);

    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty()) version = QStringLiteral("0.1");
    auto* text = new QLabel(
        QStringLiteral("<h2>%1</h2><p>Version %2</p>"
                       "<p>A note manager: keep your notes as a tree in one database file, "
                       "with rich text and links between them.</p>")
            .arg(title.toHtmlEscaped(), version.toHtmlEscaped()),
        this);
    text->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(picture);
    row->addWidget(text, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(buttons);
    setMinimumWidth(360);
}

}  // namespace tamix
