#include "shell/frm_main.h"

#include "storage/code_page_1252.h"
#include "shell/editor_double_click_filter.h"
#include "shell/features.h"
#include "links/link_handler.h"
#include "shell/instance_channel.h"
#include "shell/main_layout.h"
#include "shell/main_commands.h"
#include "shell/main_menus.h"
#include "shell/main_toolbars.h"
#include "controls/node.h"
#include "controls/nodes.h"
#include "tree/note_operations.h"
#include "tree/note_selection.h"
#include "controls/rich_text_box.h"
#include "dialogs/settings.h"
#include "shell/splitter_bar.h"
#include "shell/subclass.h"
#include "tree/tree_drag.h"
#include "tree/tree_commands.h"
#include "tree/tree_manager.h"
#include "controls/tree_view.h"
#include "dialogs/user_dialogs.h"
#include "shell/window_message.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>

namespace tamix {

namespace {

const QString kStartup = QStringLiteral("Startup");
constexpr const char* kHelpFile = ":/help/index.html";

bool normalState(const QWidget& w) {
    return !(w.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

}  // namespace

frmMain::frmMain(UserDialogs& dialogs, Settings& settings, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), settings_(settings) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tamix"));
    buildWindow();
    connectEvents();
    dialogs_.setTopmostHooks([this] { return alwaysOnTop_; }, [this](bool on) { SetTopmost(on); });
}

frmMain::~frmMain() {
    // The panes outlive this object's members while QWidget tears down; no
    // signal or filter may reach the members from then on.
    dialogs_.setTopmostHooks({}, {});
    disconnect(tree_, nullptr, this, nullptr);
    disconnect(editor_, nullptr, this, nullptr);
    disconnect(splitter_, nullptr, this, nullptr);
    client_->removeEventFilter(this);
    tree_->removeEventFilter(this);
    editor_->removeEventFilter(this);
    doubleClick_->uninstall();
    if (state_.Node.FileIsOpen()) {
        try {
            state_.Node.CloseFile();
        } catch (...) {
            // Closing without saving can only fail on a broken device; the
            // window is going away either way.
        }
    }
}

void frmMain::buildWindow() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client_);
    toolbars_ = std::make_unique<MainToolbars>(client_);
    tree_ = new controls::TreeView(client_);
    tree_->setObjectName(QStringLiteral("tree"));
    editor_ = new controls::RichTextBox(client_);
    editor_->setObjectName(QStringLiteral("rtfMain"));
    editor_->setBeep([this] { dialogs_.beep(); });
    splitter_ = new SplitterBar(client_);
    status_ = new QStatusBar(client_);
    status_->setObjectName(QStringLiteral("StatusBar1"));
    status_->setSizeGripEnabled(false);
    notes_ = std::make_unique<NoteSelection>(state_, *tree_, *editor_, dialogs_, *this);
    manager_ = std::make_unique<TreeManager>(state_, *notes_, *tree_, *editor_, dialogs_, *this);
    noteOps_ = std::make_unique<NoteOperations>(state_, *notes_, *tree_, *editor_, dialogs_, *this);
    treeDrag_ = std::make_unique<TreeDrag>(state_, *tree_, *noteOps_, dialogs_, *this);
    treeDrag_->setContextMenu([this](int x, int y) {
        showNoteMenu(QPoint(x / tree_->TwipsPerPixelX(), y / tree_->TwipsPerPixelY()));
    });
    treeDrag_->setDragEnded([this] { notes_->RestoreHighlight(); });
    MainCommands::Declare(commands_, DatabaseState::kRecentFileCount);
    TreeCommands::Register(commands_, state_, *manager_, *notes_, *noteOps_);
    bindWindowCommands();
    LinkEditorEvents::Window window;
    window.editorActive = [this] { return editorActive_; };
    window.setStatusText = [this](const QString& text) { status_->showMessage(text); };
    window.popupEditMenu = [this](const QPoint& global) {
        if (QMenu* edit = menus_->menu(QStringLiteral("mnuEdit"))) edit->popup(global);
    };
    FormatFeature::Window format{toolbars_->fontBox(), toolbars_->sizeBox(), [this] { return editorActive_; }};
    features_ = std::make_unique<Features>(Features::Parts{state_, options_, settings_, *tree_, *editor_, *notes_, dialogs_,
                                                           *this, commands_, std::move(window), std::move(format)});
    menus_ = std::make_unique<MainMenus>(commands_, *menuBar(), this);
    toolbars_->addButtons(commands_, *menus_);
    layout_ = std::make_unique<MainLayout>(*this, *client_, *toolbars_, *status_, *tree_, *editor_, *splitter_);
    doubleClick_ = std::make_unique<EditorDoubleClickFilter>(
        *editor_, [this] { return features_->links().HoveredLink(); },
        [this](int i) { features_->linkEvents().FollowLink(i); }, this);
    client_->installEventFilter(this);
    tree_->installEventFilter(this);
    editor_->installEventFilter(this);
}

void frmMain::bindWindowCommands() {
    const auto open = [this] { return state_.DatabaseOpen; };
    for (const char* menu : {"mnuEdit", "mnuFormat", "mnuToolsExport", "mnuToolsImport"})
        commands_.setEnabledRule(QLatin1String(menu), open);
    commands_.bind("mnuViewToolbars", [this] { ToggleToolbars(); });
    commands_.setChecked("mnuViewToolbars", [this] { return showToolbars_; });
    commands_.bind("mnuViewStatusBar", [this] { ToggleStatusBar(); });
    commands_.setChecked("mnuViewStatusBar", [this] { return showStatusBar_; });
    commands_.bind("mnuViewAlwaysOnTop", [this] { ToggleAlwaysOnTop(); });
    commands_.setChecked("mnuViewAlwaysOnTop", [this] { return alwaysOnTop_; });
    commands_.bind("AlwaysOnTopOn", [this] { SetAlwaysOnTop(true); }, [this] { return !alwaysOnTop_; });
    commands_.bind("AlwaysOnTopOff", [this] { SetAlwaysOnTop(false); }, [this] { return alwaysOnTop_; });
    commands_.bind("mnuHelpContents", [this] { ShowHelpContents(); });
    commands_.bind("mnuHelpAbout", [this] { ShowAbout(); });
}

void frmMain::connectEvents() {
    connect(tree_, &controls::TreeView::NodeClick, this, [this](controls::Node* n) { tree_NodeClick(n); });
    connect(tree_, &controls::TreeView::AfterLabelEdit, this,
            [this](bool& cancel, QString& text) { noteOps_->tree_AfterLabelEdit(cancel, text); });
    connect(tree_, &controls::TreeView::MouseDown, this,
            [this](int b, int s, int x, int y) { treeDrag_->tree_MouseDown(b, s, x, y); });
    connect(tree_, &controls::TreeView::MouseMove, this,
            [this](int b, int s, int x, int y) { treeDrag_->tree_MouseMove(b, s, x, y); });
    connect(tree_, &controls::TreeView::MouseUp, this,
            [this](int b, int s, int x, int y) { treeDrag_->tree_MouseUp(b, s, x, y); });
    connect(tree_, &controls::TreeView::MouseUpDone, this, [this] { notes_->RestoreHighlight(); });
    connect(tree_, &controls::TreeView::DragOver, this,
            [this](QObject* source, int x, int y, int st) { treeDrag_->tree_DragOver(source, x, y, st); });
    connect(tree_, &controls::TreeView::DragDrop, this,
            [this](QObject* source, int x, int y) { treeDrag_->tree_DragDrop(source, x, y); });
    connect(tree_, &controls::TreeView::GotFocus, this, [this] {
        if (busyDepth_ > 0) return;
        editorActive_ = false;
        RefreshFormatState();
        tree_->setTabStop(true);
        editor_->setTabStop(false);
    });
    connect(tree_, &controls::TreeView::LostFocus, this, [this] {
        if (busyDepth_ > 0) return;
        editorActive_ = true;
        RefreshFormatState();
        editor_->setTabStop(true);
        tree_->setTabStop(false);
    });
    connect(editor_, &controls::RichTextBox::Change, this, [this] {
        if (!state_.EditorChangeGuard) state_.NoteChanged = true;
    });
    connect(splitter_, &SplitterBar::MouseDown, this, &frmMain::Splitter_MouseDown);
    connect(splitter_, &SplitterBar::MouseMove, this, &frmMain::Splitter_MouseMove);
    connect(splitter_, &SplitterBar::MouseUp, this, &frmMain::Splitter_MouseUp);
}

QToolBar& frmMain::toolbar1() const { return *toolbars_->toolbar1(); }
QToolBar& frmMain::toolbar2() const { return *toolbars_->toolbar2(); }
QAction* frmMain::menuItem(const QString& name) const { return menus_->action(name); }
QAction* frmMain::toolbarButton(const QString& key) const { return toolbars_->button(key); }

int frmMain::TwipsPerPixelX() const { return layout_->twipsPerPixelX(); }
int frmMain::TwipsPerPixelY() const { return layout_->twipsPerPixelY(); }
int frmMain::ScaleWidth() const { return layout_->scaleWidth(); }
int frmMain::ScaleHeight() const { return layout_->scaleHeight(); }
int frmMain::SplitterDragX() const { return layout_->dragX(); }
int frmMain::TreeWidth() const { return layout_->treeWidth(); }

void frmMain::savePlacement(bool withSize) {
    if (!normalState(*this)) return;
    saveInt("Left", pos().x() * TwipsPerPixelX());
    saveInt("Top", pos().y() * TwipsPerPixelY());
    if (!withSize) return;
    saveInt("Height", height() * TwipsPerPixelY());
    saveInt("Width", width() * TwipsPerPixelX());
}

void frmMain::saveInt(const char* key, int twips) {
    if (twips < -32768 || twips > 32767) return;  // does not fit the stored 16 bits
    settings_.setInt(kStartup, QLatin1String(key), twips);
}

// ---------------------------------------------------------------- load / unload

void frmMain::Load(const QString& commandLine) {
    alwaysOnTop_ = false;
    setProperty("TAMIX_APPLICATION", 1);
    doubleClick_->install();
    AttachMessage(this, this, kWmCopyData);

    options_.Read(settings_);
    manager_->ReadRecentFiles(settings_);

    const int height = settings_.getInt16(kStartup, QStringLiteral("Height"), 6000);
    const int width = settings_.getInt16(kStartup, QStringLiteral("Width"), 8000);
    layout_->setTreeWidth(std::max<int>(0, settings_.getInt16(kStartup, QStringLiteral("Split"), 3000)));
    const int top = settings_.getInt16(kStartup, QStringLiteral("Top"), 0);
    const int left = settings_.getInt16(kStartup, QStringLiteral("Left"), 0);
    move(layout_->toPixelsX(left), layout_->toPixelsY(top));
    resize(std::max(1, layout_->toPixelsX(width)), std::max(1, layout_->toPixelsY(height)));

    manager_->ClearTree();
    UpdateCommandState();
    state_.NoteChanged = false;
    editorActive_ = false;
    layout_->resetDrag();

    toolbars_->fillFontBoxes();

    showToolbars_ = settings_.getBool(kStartup, QStringLiteral("Toolbars"), true);
    toolbar1().setVisible(showToolbars_);
    toolbar2().setVisible(showToolbars_);
    showStatusBar_ = settings_.getBool(kStartup, QStringLiteral("Status"), true);
    status_->setVisible(showStatusBar_);
    menus_->refresh();

    editor_->setFontName(options_.DefaultFontName);
    editor_->setFontSize(options_.DefaultFontSize);
    state_.EmptyNoteRTF = editor_->TextRTF();

    editorActive_ = false;
    tree_->setTabStop(true);
    editor_->setTabStop(false);
    manager_->StartupLoad(commandLine, options_.StartupFile);
    RefreshFormatState();

    state_.EditorChangeGuard = false;
    state_.PendingRelink = false;
    editor_->setEnabled(false);
    loaded_ = true;
    LayoutMainWindow();
}

bool frmMain::unload() {
    DetachMessage(this, this, kWmCopyData);
    savePlacement(false);
    manager_->SaveRecentFiles(settings_);
    settings_.sync();
    if (state_.DatabaseOpen) {
        try {
            manager_->CloseDatabase();
        } catch (const std::exception& e) {
            const QString text = QString::fromUtf8(e.what()) +
                                 QStringLiteral("\n\nThe note could not be saved. Exit anyway?");
            if (dialogs_.message(text, MsgButtons::YesNo, MsgIcon::Critical) != MsgAnswer::Yes) {
                AttachMessage(this, this, kWmCopyData);
                return false;
            }
        }
    }
    doubleClick_->uninstall();
    if (alwaysOnTop_) SetTopmost(false);
    return true;
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        if (!unload()) {
            event->ignore();
            return;
        }
        unloaded_ = true;
        event->accept();
        emit Unloaded();
        return;
    }
    event->accept();
}

void frmMain::UnloadMainWindow() { close(); }

// ---------------------------------------------------------------- events

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && loaded_ && busyDepth_ == 0) {
        UpdateCommandState();
        RefreshFormatState();
        if (state_.TreeUntouched) editor_->setEnabled(false);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        LayoutMainWindow();
        return false;
    }
    if (watched == editor_ && event->type() == QEvent::ShortcutOverride) {
        // The editor claims Shift+Delete (and Shift+Insert) as its own cut and
        // paste keys; here they are the Note menu's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::ShiftModifier &&
            (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Insert)) {
            event->ignore();
            return true;
        }
    }
    if ((watched == tree_ || watched == editor_) && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            (key->modifiers() & Qt::ControlModifier)) {
            if (editorActive_)
                tree_->setFocus(Qt::TabFocusReason);
            else if (editor_->isEnabled())
                editor_->setFocus(Qt::TabFocusReason);
            return true;
        }
        // F2 renames as Edit Name does, so the root's label is never edited.
        if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier && watched == tree_) {
            noteOps_->EditName();
            return true;
        }
    }
    if (watched == tree_ && event->type() == QEvent::ContextMenu) {
        // A right click shows the Note menu on its mouse up; the context-menu
        // key shows it at the selected note.
        if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
            controls::Node* node = tree_->SelectedItem();
            const QRect row = node ? tree_->visualItemRect(node->item()) : QRect();
            showNoteMenu(row.isValid() ? row.center() : QPoint(0, 0));
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- commands

void frmMain::tree_NodeClick(controls::Node* node) { notes_->tree_NodeClick(node); }

void frmMain::showNoteMenu(const QPoint& viewportPos) {
    if (!state_.DatabaseOpen) return;
    menus_->menu(QStringLiteral("mnuNote"))->popup(tree_->viewport()->mapToGlobal(viewportPos));
}

void frmMain::ParseCommand(const QString& path) {
    if (!path.isEmpty()) manager_->OpenPath(path);
}

qintptr frmMain::WindowProc(QObject*, int message, qintptr, qintptr lParam) {
    if (message != kWmCopyData || lParam == 0) return 0;
    const auto* cds = reinterpret_cast<const CopyDataStruct*>(lParam);
    if (cds->cbData == 0 || !cds->lpData) return 0;
    std::string bytes(cds->lpData, cds->cbData);
    if (bytes == std::string(1, '\0')) bytes.clear();  // the empty command line names no file
    const QString path = cds->dwData == CommandMessage::kUtf8Text
                             ? QString::fromStdString(bytes)
                             : QString::fromStdString(CodePage1252::toUtf8(bytes));
    if (path.isEmpty()) {
        // A second start without a file: bring this window back.
        if (isMinimized()) showNormal();
        if (!isVisible()) show();
        raise();
        activateWindow();
    } else {
        ParseCommand(path);
    }
    return 0;
}

bool frmMain::ReadyForCommand() const {
    return !QApplication::activeModalWidget() && !QApplication::activePopupWidget() && !dialogs_.isAsking() &&
           busyDepth_ == 0 && !treeDrag_->Dragging();
}

void frmMain::UpdateCommandState() {
    const bool open = state_.DatabaseOpen;
    menus_->refresh();
    tree_->setEnabled(open);
    // The editor only takes input while it shows a note, so text typed
    // with the root selected can never be taken for a note's body.
    editor_->setEnabled(open && !state_.ShownKey.isEmpty());
    toolbar2().setEnabled(open);
}

void frmMain::RefreshFormatState() {
    features_->formatting().state().Refresh();
    menus_->refresh();
}

void frmMain::ShowError(const QString& description) {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    dialogs_.message(description, MsgButtons::Ok, MsgIcon::Critical);
}

void frmMain::SetBusy(bool busy) {
    if (busy) {
        if (busyDepth_++ == 0) {
            focusBeforeBusy_ = QApplication::focusWidget();
            QApplication::setOverrideCursor(Qt::WaitCursor);
            client_->setEnabled(false);
            menuBar()->setEnabled(false);
        }
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
        client_->setEnabled(true);
        menuBar()->setEnabled(true);
        // Disabling took the keyboard focus away; the user goes on where it was.
        if (focusBeforeBusy_ && focusBeforeBusy_->isEnabled() && focusBeforeBusy_->isVisible())
            focusBeforeBusy_->setFocus(Qt::OtherFocusReason);
        focusBeforeBusy_ = nullptr;
        if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    }
}

void frmMain::RecentFilesChanged() { menus_->refresh(); }

void frmMain::FocusTree() {
    editorActive_ = false;
    tree_->setTabStop(true);
    editor_->setTabStop(false);
    tree_->setFocus(Qt::OtherFocusReason);
}

void frmMain::ShowHelpContents() { dialogs_.showHelp(QString::fromLatin1(kHelpFile)); }

void frmMain::ShowAbout() { dialogs_.showAbout(); }

// ---------------------------------------------------------------- view toggles

void frmMain::ToggleToolbars() {
    showToolbars_ = !showToolbars_;
    menus_->refresh();
    toolbar1().setVisible(showToolbars_);
    toolbar2().setVisible(showToolbars_);
    settings_.setBool(kStartup, QStringLiteral("Toolbars"), showToolbars_);
    LayoutMainWindow();
}

void frmMain::ToggleStatusBar() {
    showStatusBar_ = !showStatusBar_;
    menus_->refresh();
    status_->setVisible(showStatusBar_);
    settings_.setBool(kStartup, QStringLiteral("Status"), showStatusBar_);
    LayoutMainWindow();
}

void frmMain::ToggleAlwaysOnTop() { SetAlwaysOnTop(!alwaysOnTop_); }

void frmMain::SetAlwaysOnTop(bool on) {
    alwaysOnTop_ = on;
    SetTopmost(on);
    RefreshFormatState();
}

void frmMain::SetTopmost(bool on) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
    // Only the stacking changes: QWidget::setWindowFlags would re-create the
    // platform window (a new id, a hide and show, the focus lost). The flags
    // are given to the widget's record and to the platform window directly,
    // which passes the state to the window manager.
    const Qt::WindowFlags flags = windowFlags().setFlag(Qt::WindowStaysOnTopHint, on);
    overrideWindowFlags(flags);
    if (QWindow* handle = windowHandle()) handle->setFlags(flags);
}

// ---------------------------------------------------------------- layout

void frmMain::LayoutMainWindow() {
    if (!client_ || !loaded_) return;
    layout_->place(showToolbars_, showStatusBar_);
    savePlacement(true);
    saveInt("Split", layout_->treeWidth());
}

void frmMain::Splitter_MouseDown(int button, int x) {
    if (layout_->mouseDown(button, x)) LayoutMainWindow();
}

void frmMain::Splitter_MouseMove(int, int x) { layout_->mouseMove(x); }

void frmMain::Splitter_MouseUp(int, int x) {
    if (layout_->mouseUp(x)) LayoutMainWindow();
}

}  // namespace tamix
