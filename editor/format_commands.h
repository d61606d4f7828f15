#pragma once

#include <QFont>
#include <QString>
#include <functional>

namespace tamix {

class CommandTable;
class LinkSafeEdit;
class TreeHost;
class UserDialogs;
class WindowScale;
struct AppOptions;
namespace controls {
class RichTextBox;
}

// The commands that change the character and paragraph format of the
// editor's selection: the toggles, the alignments, the font and colour
// dialogs, the reset to the default font, and the bullet and paragraph
// dialogs. Each runs inside the link-safe edit, so links keep their
// marking, and marks the note changed. Errors are reported at the command's
// boundary; a cancelled dialog changes nothing.
class FormatCommands {
public:
    FormatCommands(controls::RichTextBox& editor, const AppOptions& options, UserDialogs& dialogs,
                   TreeHost& host, LinkSafeEdit& edit, WindowScale& scale);

    // Binds FormatBold ... FormatBullet, mnuFormatFont, mnuFormatColour,
    // mnuDefont, mnuFormatBullet and mnuFormatParagraph, each enabled by
    // `enabled`, each followed by the format-state refresh.
    void Bind(CommandTable& table, const std::function<bool()>& enabled);

    // Bold, italic, strike-through, underline, bullet: a value mixed over the
    // selection becomes on, else the opposite of what it is.
    void ToggleBold();
    void ToggleItalic();
    void ToggleStrike();
    void ToggleUnderline();
    void ToggleBullet();
    // 0 left, 1 right, 2 center, for the paragraphs of the selection.
    void Align(int alignment);
    // The font dialog, preset from the selection's unmixed values (a mixed
    // one keeps what the dialog held last); on OK the name, size, bold,
    // italic, strike-through and underline all come from the dialog.
    void Font();
    // The colour dialog, opened with the colour it held last in the
    // program; on OK the selection takes the chosen colour.
    void Colour();
    // The default font name and size, black, no bold, italic,
    // strike-through or underline. Paragraph format stays.
    void Default();
    // The bullet and paragraph dialogs, shown with the window's scale in
    // inches (twips again once they close, however they close).
    void BulletIndent();
    void Paragraph();

    // The Ctrl shortcuts on key release (B, E, I, L, R, U with exactly
    // Ctrl held): runs the command through `table` when `editorActive`,
    // then refreshes the format state. Answers whether a shortcut ran.
    bool KeyUp(const CommandTable& table, int keyCode, int shift, bool editorActive);

private:
    // Runs `change` inside the link-safe edit at the command's boundary.
    void safely(const std::function<void()>& change);

    controls::RichTextBox& editor_;
    const AppOptions& options_;
    UserDialogs& dialogs_;
    TreeHost& host_;
    LinkSafeEdit& edit_;
    WindowScale& scale_;
    QFont lastFont_;  // what the font dialog held when it last closed
};

}  // namespace tamix
