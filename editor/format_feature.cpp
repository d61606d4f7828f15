#include "editor/format_feature.h"

#include "controls/rich_text_box.h"
#include "dialogs/command_table.h"

namespace tamix {

FormatFeature::FormatFeature(DatabaseState& state, const AppOptions& options, controls::RichTextBox& editor,
                             LinkHandler& links, UserDialogs& dialogs, TreeHost& host, CommandTable& commands,
                             Window window)
    : edit_(state, links),
      commands_(editor, options, dialogs, host, edit_, scale_),
      boxes_(*window.fontBox, *window.sizeBox, editor, edit_, dialogs, host),
      state_(state, editor, boxes_, window.editorActive),
      dateTime_(editor, links, options, dialogs) {
    commands_.Bind(commands, [this] { return state_.FormatEnabled(); });
    dateTime_.Bind(commands, [this] { return state_.EditCondition(); });
    state_.Bind(commands);
    keyUp_ = QObject::connect(&editor, &controls::RichTextBox::KeyUp,
                              [this, &commands, active = window.editorActive](int& key, int& shift) {
                                  commands_.KeyUp(commands, key, shift, active && active());
                              });
}

FormatFeature::~FormatFeature() { QObject::disconnect(keyUp_); }

}  // namespace tamix
