#include "editor/frm_bullet.h"

#include "controls/rich_text_box.h"
#include "dialogs/user_dialogs.h"
#include "editor/length_text.h"
#include "editor/window_scale.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace tamix {

frmBullet::frmBullet(controls::RichTextBox& editor, const WindowScale& scale, UserDialogs& dialogs,
                     QWidget* parent)
    : QDialog(parent), editor_(editor), scale_(scale), dialogs_(dialogs),
      txtIndent_(new QLineEdit(this)), btnOK_(new QPushButton(QStringLiteral("OK"), this)),
      btnCancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("frmBullet"));
    setWindowTitle(QStringLiteral("Bullet Format"));
    txtIndent_->setObjectName(QStringLiteral("txtIndent"));
    btnOK_->setObjectName(QStringLiteral("btnOK"));
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnOK_->setDefault(true);

    auto* label = new QLabel(QStringLiteral("Bullet Indent:"), this);
    label->setBuddy(txtIndent_);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(txtIndent_, 0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);
    grid->addLayout(buttons, 1, 0, 1, 2);
    setSizeGripEnabled(false);

    txtIndent_->setText(LengthText::Show(scale_.fromTwips(editor_.BulletIndent())));
    connect(btnOK_, &QPushButton::clicked, this, [this] { ok(); });
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmBullet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmBullet::ok() {
    const std::optional<double> indent = LengthText::Parse(txtIndent_->text());
    if (!indent) {
        dialogs_.message(QStringLiteral("Not a valid number"), MsgButtons::Ok);
        txtIndent_->setFocus(Qt::OtherFocusReason);
        return;
    }
    editor_.setBulletIndent(scale_.toTwips(*indent));
    accept();
}

}  // namespace tamix
