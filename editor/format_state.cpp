#include "editor/format_state.h"

#include "controls/rich_text_box.h"
#include "dialogs/command_table.h"
#include "editor/format_boxes.h"
#include "tree/database_state.h"

namespace tamix {

using controls::Tristate;

FormatState::FormatState(const DatabaseState& state, const controls::RichTextBox& editor, FormatBoxes& boxes,
                         std::function<bool()> editorActive)
    : state_(state), editor_(editor), boxes_(boxes), editorActive_(std::move(editorActive)) {}

bool FormatState::FormatEnabled() const { return state_.DatabaseOpen && editorActive_ && editorActive_(); }

bool FormatState::EditCondition() const { return editor_.isEnabled() && editorActive_ && editorActive_(); }

void FormatState::Bind(CommandTable& table) const {
    const auto format = [this] { return FormatEnabled(); };
    for (const char* name : {"mnuFormat", "FormatBold", "FormatItalic", "FormatStrike", "FormatUnderline",
                             "FormatLeft", "FormatCenter", "FormatRight", "FormatBullet", "mnuFormatFont",
                             "mnuFormatColour", "mnuFormatParagraph", "mnuFormatBullet", "mnuDefont"})
        table.setEnabledRule(QLatin1String(name), format);

    const std::pair<const char*, Tristate (controls::RichTextBox::*)() const> toggles[] = {
        {"FormatBold", &controls::RichTextBox::SelBold},
        {"FormatItalic", &controls::RichTextBox::SelItalic},
        {"FormatStrike", &controls::RichTextBox::SelStrikeThru},
        {"FormatUnderline", &controls::RichTextBox::SelUnderline},
        {"FormatBullet", &controls::RichTextBox::SelBullet},
    };
    for (const auto& [name, read] : toggles)
        table.setChecked(QLatin1String(name),
                         [this, read = read] { return FormatEnabled() && (editor_.*read)() == Tristate::On; });
    const std::pair<const char*, int> alignments[] = {{"FormatLeft", 0}, {"FormatRight", 1}, {"FormatCenter", 2}};
    for (const auto& [name, alignment] : alignments)
        table.setChecked(QLatin1String(name),
                         [this, a = alignment] { return FormatEnabled() && editor_.SelAlignment() == a; });

    table.setEnabledRule("mnuHyperLink", [this] { return EditCondition() && !state_.Links.Full(); });
    table.setEnabledRule("mnuEditInsertDateTime", [this] { return EditCondition(); });
}

void FormatState::Refresh() {
    if (!state_.DatabaseOpen) return;
    boxes_.Show(editorActive_ && editorActive_());
}

}  // namespace tamix
