#include "find/frm_find2.h"

#include "find/find_state.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tamix {

frmFind2::frmFind2(FindState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("frmFind2"));
    setWindowTitle(QStringLiteral("Search Results"));
    setModal(true);
    lblFind = new QLabel(QStringLiteral("Find: ") + state_.SearchText, this);
    lblFind->setObjectName(QStringLiteral("lblFind"));
    lblFind->setTextFormat(Qt::PlainText);
    btnNext = new QPushButton(QStringLiteral("Find Next"), this);
    btnNext->setObjectName(QStringLiteral("btnNext"));
    btnNext->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnNext);
    buttons->addWidget(btnCancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblFind);
    column->addLayout(buttons);
    connect(btnNext, &QPushButton::clicked, this, [this] { btnNext_Click(); });
    connect(btnCancel, &QPushButton::clicked, this, &frmFind2::reject);
    resize(sizeHint().expandedTo(QSize(260, 0)));
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void frmFind2::btnNext_Click() {
    state_.SearchContinue = true;
    accept();
}

void frmFind2::reject() {
    state_.SearchContinue = false;
    QDialog::reject();
}

}  // namespace tamix
