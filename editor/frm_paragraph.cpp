#include "editor/frm_paragraph.h"

#include "controls/rich_text_box.h"
#include "dialogs/user_dialogs.h"
#include "editor/length_text.h"
#include "editor/window_scale.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tamix {

namespace {

// The alignment box's items, in the editor's numbering (0 left, 1 right, 2 center).
const QStringList kAlignments = {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Center")};

QLineEdit* lengthBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

}  // namespace

frmParagraph::frmParagraph(controls::RichTextBox& editor, const WindowScale& scale, UserDialogs& dialogs,
                           QWidget* parent)
    : QDialog(parent), editor_(editor), scale_(scale), dialogs_(dialogs), cmbAlign_(new QComboBox(this)),
      txtLeft_(lengthBox("txtLeft", this)), txtRight_(lengthBox("txtRight", this)),
      txtFirst_(lengthBox("txtFirst", this)), ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("frmParagraph"));
    setWindowTitle(QStringLiteral("Paragraph"));
    cmbAlign_->setObjectName(QStringLiteral("cmbAlign"));
    cmbAlign_->setEditable(true);
    cmbAlign_->setInsertPolicy(QComboBox::NoInsert);
    cmbAlign_->addItems(kAlignments);
    ok_->setObjectName(QStringLiteral("Command1"));
    cancel_->setObjectName(QStringLiteral("Command2"));
    ok_->setDefault(true);

    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("Alignment:"), cmbAlign_);
    auto* frame = new QGroupBox(QStringLiteral("Indentation"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* indents = new QFormLayout(frame);
    indents->addRow(QStringLiteral("Left:"), txtLeft_);
    indents->addRow(QStringLiteral("Right:"), txtRight_);
    indents->addRow(QStringLiteral("First Line:"), txtFirst_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(frame);
    column->addLayout(buttons);

    const std::optional<int> alignment = editor_.SelAlignment();
    if (alignment && *alignment >= 0 && *alignment < kAlignments.size()) {
        cmbAlign_->setCurrentIndex(*alignment);
    } else {
        cmbAlign_->setCurrentIndex(-1);
        cmbAlign_->setEditText(QString());
    }
    const auto inScale = [this](std::optional<double> twips) {
        return twips ? std::optional<double>(scale_.fromTwips(*twips)) : std::nullopt;
    };
    txtLeft_->setText(LengthText::Show(inScale(editor_.SelIndent())));
    txtRight_->setText(LengthText::Show(inScale(editor_.SelRightIndent())));
    txtFirst_->setText(LengthText::Show(inScale(editor_.SelHangingIndent())));

    connect(ok_, &QPushButton::clicked, this, [this] { ok(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmParagraph::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmParagraph::ok() {
    double lengths[3] = {};
    QLineEdit* boxes[3] = {txtLeft_, txtRight_, txtFirst_};
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> value = LengthText::Parse(boxes[i]->text());
        if (!value) {
            dialogs_.message(QStringLiteral("Invalid Indent"), MsgButtons::Ok);
            boxes[i]->setFocus(Qt::OtherFocusReason);
            return;
        }
        lengths[i] = *value;
    }
    const int alignment = kAlignments.indexOf(cmbAlign_->currentText());
    if (alignment >= 0) editor_.setSelAlignment(alignment);
    editor_.setSelIndent(scale_.toTwips(lengths[0]));
    editor_.setSelRightIndent(scale_.toTwips(lengths[1]));
    editor_.setSelHangingIndent(scale_.toTwips(lengths[2]));
    accept();
}

}  // namespace tamix
