#include "editor/format_commands.h"

#include "controls/rich_text_box.h"
#include "dialogs/app_options.h"
#include "dialogs/command_table.h"
#include "dialogs/user_dialogs.h"
#include "editor/frm_bullet.h"
#include "editor/frm_paragraph.h"
#include "editor/link_safe_edit.h"
#include "editor/window_scale.h"
#include "tree/tree_host.h"

#include <QColor>

namespace tamix {

namespace {

using controls::RichTextBox;
using controls::Tristate;

constexpr int kCtrl = 2;

// Mixed becomes on; otherwise the opposite.
bool toggled(Tristate value) { return value != Tristate::On; }

quint32 toBgr(const QColor& c) {
    return static_cast<quint32>(c.red()) | static_cast<quint32>(c.green()) << 8 |
           static_cast<quint32>(c.blue()) << 16;
}

}  // namespace

FormatCommands::FormatCommands(RichTextBox& editor, const AppOptions& options, UserDialogs& dialogs,
                               TreeHost& host, LinkSafeEdit& edit, WindowScale& scale)
    : editor_(editor), options_(options), dialogs_(dialogs), host_(host), edit_(edit), scale_(scale) {}

void FormatCommands::Bind(CommandTable& table, const std::function<bool()>& enabled) {
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"FormatBold", [this] { ToggleBold(); }},
        {"FormatItalic", [this] { ToggleItalic(); }},
        {"FormatStrike", [this] { ToggleStrike(); }},
        {"FormatUnderline", [this] { ToggleUnderline(); }},
        {"FormatLeft", [this] { Align(0); }},
        {"FormatRight", [this] { Align(1); }},
        {"FormatCenter", [this] { Align(2); }},
        {"FormatBullet", [this] { ToggleBullet(); }},
        {"mnuFormatFont", [this] { Font(); }},
        {"mnuFormatColour", [this] { Colour(); }},
        {"mnuDefont", [this] { Default(); }},
        {"mnuFormatBullet", [this] { BulletIndent(); }},
        {"mnuFormatParagraph", [this] { Paragraph(); }},
    };
    for (const auto& [name, run] : commands) {
        table.bind(
            QLatin1String(name),
            [this, run = run] {
                run();
                host_.RefreshFormatState();
            },
            enabled);
    }
}

void FormatCommands::safely(const std::function<void()>& change) {
    RunCommand(host_, [&] { edit_.Run(change); });
}

void FormatCommands::ToggleBold() {
    safely([this] { editor_.setSelBold(toggled(editor_.SelBold())); });
}

void FormatCommands::ToggleItalic() {
    safely([this] { editor_.setSelItalic(toggled(editor_.SelItalic())); });
}

void FormatCommands::ToggleStrike() {
    safely([this] { editor_.setSelStrikeThru(toggled(editor_.SelStrikeThru())); });
}

void FormatCommands::ToggleUnderline() {
    safely([this] { editor_.setSelUnderline(toggled(editor_.SelUnderline())); });
}

void FormatCommands::ToggleBullet() {
    safely([this] { editor_.setSelBullet(toggled(editor_.SelBullet())); });
}

void FormatCommands::Align(int alignment) {
    safely([this, alignment] { editor_.setSelAlignment(alignment); });
}

void FormatCommands::Font() {
    safely([this] {
        QFont preset = lastFont_;
        if (const auto name = editor_.SelFontName()) preset.setFamily(*name);
        if (const auto size = editor_.SelFontSize(); size && *size > 0) preset.setPointSizeF(*size);
        if (const Tristate b = editor_.SelBold(); b != Tristate::Mixed) preset.setBold(b == Tristate::On);
        if (const Tristate i = editor_.SelItalic(); i != Tristate::Mixed) preset.setItalic(i == Tristate::On);
        if (const Tristate s = editor_.SelStrikeThru(); s != Tristate::Mixed) preset.setStrikeOut(s == Tristate::On);
        if (const Tristate u = editor_.SelUnderline(); u != Tristate::Mixed) preset.setUnderline(u == Tristate::On);
        lastFont_ = preset;
        const std::optional<QFont> chosen = dialogs_.chooseFont(preset);
        if (!chosen) return;
        lastFont_ = *chosen;
        editor_.setSelFontName(chosen->family());
        if (chosen->pointSizeF() > 0) editor_.setSelFontSize(chosen->pointSizeF());
        editor_.setSelBold(chosen->bold());
        editor_.setSelItalic(chosen->italic());
        editor_.setSelStrikeThru(chosen->strikeOut());
        editor_.setSelUnderline(chosen->underline());
    });
}

void FormatCommands::Colour() {
    safely([this] {
        const std::optional<QColor> chosen = dialogs_.chooseColour(dialogs_.lastColour());
        if (chosen && chosen->isValid()) editor_.setSelColor(toBgr(*chosen));
    });
}

void FormatCommands::Default() {
    safely([this] {
        editor_.setSelFontName(options_.DefaultFontName);
        editor_.setSelFontSize(options_.DefaultFontSize);
        editor_.setSelColor(0);
        editor_.setSelBold(false);
        editor_.setSelItalic(false);
        editor_.setSelStrikeThru(false);
        editor_.setSelUnderline(false);
    });
}

void FormatCommands::BulletIndent() {
    safely([this] {
        WindowScale::Inches inches(scale_);
        frmBullet form(editor_, scale_, dialogs_, editor_.window());
        dialogs_.runModal(form);
    });
}

void FormatCommands::Paragraph() {
    safely([this] {
        WindowScale::Inches inches(scale_);
        frmParagraph form(editor_, scale_, dialogs_, editor_.window());
        dialogs_.runModal(form);
    });
}

bool FormatCommands::KeyUp(const CommandTable& table, int keyCode, int shift, bool editorActive) {
    if (!editorActive || shift != kCtrl) return false;
    const char* command = nullptr;
    switch (keyCode) {
    case 'B': command = "FormatBold"; break;
    case 'E': command = "FormatCenter"; break;
    case 'I': command = "FormatItalic"; break;
    case 'L': command = "FormatLeft"; break;
    case 'R': command = "FormatRight"; break;
    case 'U': command = "FormatUnderline"; break;
    default: return false;
    }
    table.run(QLatin1String(command));
    host_.RefreshFormatState();
    return true;
}

}  // namespace tamix
