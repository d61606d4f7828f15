#include "find/frm_find.h"

#include "find/find_state.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tamix {

frmFind::frmFind(FindState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(true);
    buildControls();
    Form_Load();
}

void frmFind::buildControls() {
    txtSearchString = new QLineEdit(this);
    txtSearchString->setObjectName(QStringLiteral("txtSearchString"));
    auto* scope = new QGroupBox(QStringLiteral("Search In:"), this);
    optDB = new QRadioButton(QStringLiteral("Entire Database"), scope);
    optDB->setObjectName(QStringLiteral("optDB"));
    optTree = new QRadioButton(QStringLiteral("Current (sub) tree"), scope);
    optTree->setObjectName(QStringLiteral("optTree"));
    optDoc = new QRadioButton(QStringLiteral("Current Document"), scope);
    optDoc->setObjectName(QStringLiteral("optDoc"));
    chkCase = new QCheckBox(QStringLiteral("Match Case"), this);
    chkCase->setObjectName(QStringLiteral("chkCase"));
    chkWhole = new QCheckBox(QStringLiteral("Whole Word"), this);
    chkWhole->setObjectName(QStringLiteral("chkWhole"));
    btnOK = new QPushButton(QStringLiteral("Find"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* what = new QHBoxLayout;
    what->addWidget(new QLabel(QStringLiteral("Find What:"), this));
    what->addWidget(txtSearchString, 1);
    auto* scopes = new QVBoxLayout(scope);
    scopes->addWidget(optDB);
    scopes->addWidget(optTree);
    scopes->addWidget(optDoc);
    auto* options = new QVBoxLayout;
    options->addWidget(chkCase);
    options->addWidget(chkWhole);
    options->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(scope, 1);
    middle->addLayout(options);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* column = new QVBoxLayout(this);
    column->addLayout(what);
    column->addLayout(middle);
    column->addLayout(buttons);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOK_Click(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancel_Click(); });
    resize(sizeHint().expandedTo(QSize(380, 0)));
}

void frmFind::Form_Load() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    txtSearchString->setText(state_.SearchText);
    txtSearchString->selectAll();
    switch (state_.SearchScope) {
    case FindState::kScopeTree: optTree->setChecked(true); break;
    case FindState::kScopeDatabase: optDB->setChecked(true); break;
    default: optDoc->setChecked(true); break;
    }
    chkWhole->setChecked(state_.SearchWholeWord);
    chkCase->setChecked(state_.SearchMatchCase);
}

void frmFind::btnOK_Click() {
    state_.SearchText = txtSearchString->text();
    if (optDoc->isChecked()) state_.SearchScope = FindState::kScopeDocument;
    if (optTree->isChecked()) state_.SearchScope = FindState::kScopeTree;
    if (optDB->isChecked()) state_.SearchScope = FindState::kScopeDatabase;
    state_.SearchWholeWord = chkWhole->isChecked();
    state_.SearchMatchCase = chkCase->isChecked();
    state_.SearchPosition = 0;
    state_.SearchCancelled = false;
    accept();
}

void frmFind::btnCancel_Click() {
    state_.SearchPosition = -1;
    state_.SearchCancelled = true;
    reject();
}

}  // namespace tamix
