#pragma once

#include <QString>
#include <optional>

class QComboBox;

namespace tamix {

class LinkSafeEdit;
class TreeHost;
class UserDialogs;
namespace controls {
class RichTextBox;
}

// The font and size boxes of the formatting toolbar: they show the
// selection's font and size, and a name or size chosen in them is given to
// the selection (inside the link-safe edit), after which the editor has the
// focus. The size box also takes a typed size on Enter; a text that does
// not start with a number, or a size out of kMinSize ... kMaxSize, is
// refused with a beep and nothing reaches the editor.
class FormatBoxes {
public:
    static constexpr double kMinSize = 1;     // points
    static constexpr double kMaxSize = 1638;  // the largest size a note's RTF can hold

    // Makes the size box editable and connects both boxes' choices.
    FormatBoxes(QComboBox& fontBox, QComboBox& sizeBox, controls::RichTextBox& editor, LinkSafeEdit& edit,
                UserDialogs& dialogs, TreeHost& host);

    // Shows the selection's font name (added to the list when the list does
    // not hold it) and its size rounded to whole points; a box whose value
    // is mixed is empty. With `active` false both boxes are emptied and
    // disabled.
    void Show(bool active);

    // A choice in the font box, and a choice or typed entry in the size box.
    void ChooseFont(const QString& text);
    void ChooseSize(const QString& text);

    // The size a box text stands for: its leading number; nothing when it
    // has none or the size is out of range.
    static std::optional<double> ParseSize(const QString& text);
    // What the size box shows for a size: whole points, half rounding up;
    // "" when mixed.
    static QString SizeText(std::optional<double> points);

private:
    QComboBox& fontBox_;
    QComboBox& sizeBox_;
    controls::RichTextBox& editor_;
    LinkSafeEdit& edit_;
    UserDialogs& dialogs_;
    TreeHost& host_;
    bool returnHandled_ = false;  // the size typed with Enter was taken; its echo as a choice is not
};

}  // namespace tamix
