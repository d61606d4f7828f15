#pragma once

#include "editor/date_time_insert.h"
#include "editor/format_boxes.h"
#include "editor/format_commands.h"
#include "editor/format_state.h"
#include "editor/link_safe_edit.h"
#include "editor/window_scale.h"

#include <QMetaObject>
#include <functional>

class QComboBox;

namespace tamix {

class CommandTable;
class LinkHandler;
class TreeHost;
class UserDialogs;
struct AppOptions;
struct DatabaseState;
namespace controls {
class RichTextBox;
}

// The note editor's formatting: the format commands, the font and size
// boxes, the insert date and time commands, the Ctrl shortcuts on key
// release, and the format state the window refreshes. Binds its commands
// into the table when built.
class FormatFeature {
public:
    // What the feature uses of the main window.
    struct Window {
        QComboBox* fontBox = nullptr;
        QComboBox* sizeBox = nullptr;
        // The tree has lost the focus: the editor side is active.
        std::function<bool()> editorActive;
    };

    FormatFeature(DatabaseState& state, const AppOptions& options, controls::RichTextBox& editor,
                  LinkHandler& links, UserDialogs& dialogs, TreeHost& host, CommandTable& commands, Window window);
    ~FormatFeature();
    FormatFeature(const FormatFeature&) = delete;
    FormatFeature& operator=(const FormatFeature&) = delete;

    LinkSafeEdit& edit() { return edit_; }
    WindowScale& scale() { return scale_; }
    FormatCommands& commands() { return commands_; }
    FormatBoxes& boxes() { return boxes_; }
    FormatState& state() { return state_; }
    DateTimeInsert& dateTime() { return dateTime_; }

private:
    LinkSafeEdit edit_;
    WindowScale scale_;
    FormatCommands commands_;
    FormatBoxes boxes_;
    FormatState state_;
    DateTimeInsert dateTime_;
    QMetaObject::Connection keyUp_;  // cut in the destructor
};

}  // namespace tamix
