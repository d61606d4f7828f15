#pragma once

#include "dialogs/command_table.h"
#include "dialogs/app_options.h"
#include "tree/database_state.h"
#include "shell/i_subclass.h"
#include "shell/main_layout.h"
#include "tree/tree_host.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QAction;
class QStatusBar;
class QToolBar;

namespace tamix {

class EditorDoubleClickFilter;
class Features;
class MainMenus;
class MainToolbars;
class NoteOperations;
class NoteSelection;
class Settings;
class SplitterBar;
class TreeDrag;
class TreeManager;
class UserDialogs;
namespace controls {
class Node;
class RichTextBox;
class TreeView;
}  // namespace controls

// The main window: two toolbars, the note tree on the left, a splitter bar,
// the note editor on the right and the status bar, laid out by hand in twips
// inside the client area (the window below its menu bar). It owns the open
// database's state, the tree manager and the command table its menus and
// toolbars are built from.
//
// Geometry in the settings is in twips (twips per pixel = 1440 / the
// screen's logical DPI): "Left"/"Top" the window's position, "Width"/
// "Height" its size, "Split" the tree's width.
class frmMain : public QMainWindow, public ISubclass, public TreeHost {
    Q_OBJECT
public:
    static constexpr int kSplitterWidth = MainLayout::kSplitterWidth;  // twips
    static constexpr int kMinPaneWidth = MainLayout::kMinPaneWidth;    // twips, tree and editor side
    static constexpr int kNoDrag = MainLayout::kNoDrag;                // SplitterDragX while not dragging

    // The dialogs and settings belong to the application and outlive the window.
    frmMain(UserDialogs& dialogs, Settings& settings, QWidget* parent = nullptr);
    ~frmMain() override;

    // The load sequence: restores settings and geometry, clears the tree,
    // opens the start-up database (the command-line file when it names an
    // existing file, else the start-up file option) and leaves the root
    // selected with the editor disabled.
    void Load(const QString& commandLine);

    // Opens the database at `path` in this window (a second instance's
    // command line); a path naming no existing file does nothing.
    void ParseCommand(const QString& path);
    // Note selection in the tree (also run by other commands).
    void tree_NodeClick(controls::Node* node);

    // Lays out toolbars, tree, splitter, editor and status bar, and saves
    // the geometry. Errors are ignored.
    void LayoutMainWindow();
    // The splitter's mouse handling (x in twips, in the splitter's coordinates).
    void Splitter_MouseDown(int button, int x);
    void Splitter_MouseMove(int button, int x);
    void Splitter_MouseUp(int button, int x);

    // The View toggles.
    void ToggleToolbars();
    void ToggleStatusBar();
    void ToggleAlwaysOnTop();
    // Sets the always-on-top state (and the flag, the check mark and the buttons).
    void SetAlwaysOnTop(bool on);
    // Makes the window top-most or not, leaving its position and size.
    void SetTopmost(bool on);
    // Shows the help file.
    void ShowHelpContents();
    void ShowAbout();

    // TreeHost.
    void UpdateCommandState() override;
    void RefreshFormatState() override;
    void ShowError(const QString& description) override;
    void SetBusy(bool busy) override;
    void RecentFilesChanged() override;
    void FocusTree() override;
    void UnloadMainWindow() override;

    // ISubclass: post-processes kWmCopyData, turning it into ParseCommand.
    int MsgResponse() const override { return 1; }
    void setMsgResponse(int) override {}
    qintptr WindowProc(QObject* window, int message, qintptr wParam, qintptr lParam) override;

    // Parts, for the tests and the later commands.
    DatabaseState& state() { return state_; }
    AppOptions& options() { return options_; }
    TreeManager& treeManager() { return *manager_; }
    NoteSelection& notes() { return *notes_; }
    NoteOperations& noteOperations() { return *noteOps_; }
    TreeDrag& treeDrag() { return *treeDrag_; }
    Features& features() { return *features_; }
    controls::TreeView& tree() { return *tree_; }
    controls::RichTextBox& rtfMain() { return *editor_; }
    SplitterBar& splitter() { return *splitter_; }
    QWidget& clientArea() { return *client_; }
    QStatusBar& statusBar1() { return *status_; }
    QToolBar& toolbar1() const;
    QToolBar& toolbar2() const;
    const MainToolbars& toolbars() const { return *toolbars_; }
    const MainMenus& menus() const { return *menus_; }
    const CommandTable& commands() const { return commands_; }
    QAction* menuItem(const QString& name) const;
    QAction* toolbarButton(const QString& key) const;

    // True when a queued command (a second start's) may run now: no
    // question or modal window is open, no long work has the window
    // disabled, and no drag is in progress. Each of those runs a nested
    // event loop in which the tree must not be rebuilt under the command
    // that is waiting.
    bool ReadyForCommand() const;
    bool ShowToolbars() const { return showToolbars_; }
    bool ShowStatusBar() const { return showStatusBar_; }
    bool AlwaysOnTop() const { return alwaysOnTop_; }
    bool EditorActive() const { return editorActive_; }
    int SplitterDragX() const;
    // The tree's width in twips.
    int TreeWidth() const;
    int TwipsPerPixelX() const;
    int TwipsPerPixelY() const;
    // The client area's width and height in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;

signals:
    // The unload sequence has run: the program ends (windows the main
    // window owns, such as the help, end with it).
    void Unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void connectEvents();
    // Binds the window's own commands (View, Help, the always-on-top
    // buttons) and the enable rules of the menus whose items come later.
    void bindWindowCommands();
    // Pops up the Note menu at (x, y) pixels in the tree's drawing area.
    void showNoteMenu(const QPoint& viewportPos);
    // Query unload and unload; false when the user chose to stay.
    bool unload();
    void saveInt(const char* key, int twips);
    // Saves the window's position, and its size with `withSize`, while it
    // is in the normal state.
    void savePlacement(bool withSize);

    UserDialogs& dialogs_;
    Settings& settings_;
    DatabaseState state_;
    AppOptions options_;

    QWidget* client_ = nullptr;              // the client area; owns the panes below
    controls::TreeView* tree_ = nullptr;
    controls::RichTextBox* editor_ = nullptr;
    SplitterBar* splitter_ = nullptr;
    QStatusBar* status_ = nullptr;
    CommandTable commands_;                  // every command; menus and toolbars are built from it
    std::unique_ptr<MainToolbars> toolbars_;
    std::unique_ptr<MainLayout> layout_;
    std::unique_ptr<MainMenus> menus_;
    std::unique_ptr<NoteSelection> notes_;
    std::unique_ptr<TreeManager> manager_;
    std::unique_ptr<NoteOperations> noteOps_;
    std::unique_ptr<TreeDrag> treeDrag_;
    std::unique_ptr<Features> features_;
    std::unique_ptr<EditorDoubleClickFilter> doubleClick_;

    bool showToolbars_ = true;
    bool showStatusBar_ = true;
    bool alwaysOnTop_ = false;      // not kept across runs
    bool editorActive_ = false;     // the tree has lost the focus
    int busyDepth_ = 0;             // SetBusy(true) calls not yet undone
    QPointer<QWidget> focusBeforeBusy_;  // the focus when the outermost SetBusy(true) came
    bool loaded_ = false;           // Load has run
    bool unloaded_ = false;         // the unload sequence has run
};

}  // namespace tamix
