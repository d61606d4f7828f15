#include "editor/format_boxes.h"

#include "controls/font_substitutes.h"
#include "controls/rich_text_box.h"
#include "dialogs/user_dialogs.h"
#include "editor/link_safe_edit.h"
#include "tree/tree_host.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <cmath>

namespace tamix {

FormatBoxes::FormatBoxes(QComboBox& fontBox, QComboBox& sizeBox, controls::RichTextBox& editor,
                         LinkSafeEdit& edit, UserDialogs& dialogs, TreeHost& host)
    : fontBox_(fontBox), sizeBox_(sizeBox), editor_(editor), edit_(edit), dialogs_(dialogs), host_(host) {
    sizeBox_.setEditable(true);
    sizeBox_.setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(&fontBox_, &QComboBox::textActivated, &fontBox_,
                     [this](const QString& text) { ChooseFont(text); });
    // Enter in the size box takes what was typed; the combo box then also
    // reports a typed text that matches an item as chosen, which must not
    // apply it twice.
    QObject::connect(sizeBox_.lineEdit(), &QLineEdit::returnPressed, &sizeBox_, [this] {
        returnHandled_ = true;
        QTimer::singleShot(0, &sizeBox_, [this] { returnHandled_ = false; });
        ChooseSize(sizeBox_.currentText());
    });
    QObject::connect(&sizeBox_, &QComboBox::textActivated, &sizeBox_, [this](const QString& text) {
        if (!returnHandled_) ChooseSize(text);
    });
}

void FormatBoxes::Show(bool active) {
    fontBox_.setEnabled(active);
    sizeBox_.setEnabled(active);
    const std::optional<QString> font = active ? editor_.SelFontName() : std::nullopt;
    if (font) {
        // The box names the font as the note names it, though another
        // installed family may draw it.
        const QString text = controls::FontSubstitutes::boxText(*font);
        int index = fontBox_.findText(text, Qt::MatchFixedString);
        if (index < 0 && !text.isEmpty()) {
            index = 0;
            while (index < fontBox_.count() && fontBox_.itemText(index).compare(text, Qt::CaseInsensitive) < 0)
                ++index;
            fontBox_.insertItem(index, text);
        }
        fontBox_.setCurrentIndex(index);
    } else {
        fontBox_.setCurrentIndex(-1);
    }
    const QString size = active ? SizeText(editor_.SelFontSize()) : QString();
    sizeBox_.setCurrentIndex(sizeBox_.findText(size));
    sizeBox_.setEditText(size);
}

void FormatBoxes::ChooseFont(const QString& text) {
    RunCommand(host_, [&] { edit_.Run([&] { editor_.setSelFontName(text); }); });
    editor_.setFocus(Qt::OtherFocusReason);
}

void FormatBoxes::ChooseSize(const QString& text) {
    const std::optional<double> size = ParseSize(text);
    if (!size) {
        dialogs_.beep();
        sizeBox_.setEditText(SizeText(editor_.SelFontSize()));
        return;
    }
    RunCommand(host_, [&] { edit_.Run([&] { editor_.setSelFontSize(*size); }); });
    editor_.setFocus(Qt::OtherFocusReason);
}

std::optional<double> FormatBoxes::ParseSize(const QString& text) {
    static const QRegularExpression leading(QStringLiteral(R"(^\s*([0-9]+(?:\.[0-9]*)?|\.[0-9]+))"));
    const QRegularExpressionMatch m = leading.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const double size = m.captured(1).toDouble();
    if (!(size >= kMinSize && size <= kMaxSize)) return std::nullopt;
    return size;
}

QString FormatBoxes::SizeText(std::optional<double> points) {
    if (!points) return QString();
    return QString::number(static_cast<long long>(std::llround(*points)));
}

}  // namespace tamix
