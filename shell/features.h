#pragma once

#include "links/link_editor_events.h"

#include <memory>

namespace tamix {

class ClipboardCommands;
class CommandTable;
class LinkDetector;
class LinkHandler;
class LinkOpener;
class NoteSelection;
class TreeHost;
class UserDialogs;
struct AppOptions;
struct DatabaseState;
namespace controls {
class RichTextBox;
class TreeView;
}  // namespace controls

// The features the main window carries, built over its tree, editor and
// state, each binding its commands to the table. A new feature is added
// here and in its own folder; the main window itself does not change.
class Features {
public:
    // What every feature may use of the window.
    struct Parts {
        DatabaseState& state;
        const AppOptions& options;
        controls::TreeView& tree;
        controls::RichTextBox& editor;
        NoteSelection& notes;
        UserDialogs& dialogs;
        TreeHost& host;
        CommandTable& commands;
        LinkEditorEvents::Window window;
    };

    explicit Features(Parts parts);
    ~Features();

    LinkHandler& links() { return *links_; }
    LinkEditorEvents& linkEvents() { return *linkEvents_; }
    LinkDetector& linkDetector() { return *detector_; }
    ClipboardCommands& clipboard() { return *clipboard_; }

private:
    std::unique_ptr<LinkHandler> links_;
    std::unique_ptr<LinkOpener> opener_;
    std::unique_ptr<LinkEditorEvents> linkEvents_;
    std::unique_ptr<LinkDetector> detector_;
    std::unique_ptr<ClipboardCommands> clipboard_;
};

}  // namespace tamix
