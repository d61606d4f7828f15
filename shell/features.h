#pragma once

#include "editor/format_feature.h"
#include "links/link_editor_events.h"

#include <memory>

namespace tamix {

class ClipboardCommands;
class EditorDrop;
class CommandTable;
class Finder;
class LinkDetector;
class LinkHandler;
class LinkOpener;
class NoteSelection;
class Settings;
class TransferCommands;
class PrintCommands;
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
        AppOptions& options;
        Settings& settings;
        controls::TreeView& tree;
        controls::RichTextBox& editor;
        NoteSelection& notes;
        UserDialogs& dialogs;
        TreeHost& host;
        CommandTable& commands;
        LinkEditorEvents::Window window;
        FormatFeature::Window format;
    };

    explicit Features(Parts parts);
    ~Features();

    LinkHandler& links() { return *links_; }
    LinkEditorEvents& linkEvents() { return *linkEvents_; }
    LinkDetector& linkDetector() { return *detector_; }
    FormatFeature& formatting() { return *formatting_; }
    ClipboardCommands& clipboard() { return *clipboard_; }

private:
    std::unique_ptr<LinkHandler> links_;
    std::unique_ptr<LinkOpener> opener_;
    std::unique_ptr<LinkEditorEvents> linkEvents_;
    std::unique_ptr<LinkDetector> detector_;
    std::unique_ptr<FormatFeature> formatting_;
    std::unique_ptr<TransferCommands> transfer_;
    std::unique_ptr<PrintCommands> print_;
    std::unique_ptr<Finder> finder_;  // holds the find state for the window's (the process's) life
    std::unique_ptr<ClipboardCommands> clipboard_;
    std::unique_ptr<EditorDrop> drop_;  // after clipboard_, which it uses
};

}  // namespace tamix
