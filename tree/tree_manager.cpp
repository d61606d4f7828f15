#include "tree/tree_manager.h"

#include "storage/c_data_base.h"
#include "tree/database_state.h"
#include "controls/node.h"
#include "storage/node_key.h"
#include "controls/nodes.h"
#include "tree/note_selection.h"
#include "controls/rich_text_box.h"
#include "storage/tamix_error.h"
#include "tree/tree_host.h"
#include "controls/tree_view.h"
#include "storage/tree_walk.h"
#include "dialogs/settings.h"
#include "dialogs/user_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace tamix {

namespace {

constexpr const char* kNoDatabaseLabel = "My Notes";

std::string nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A file dialog for database files: the database filter selected, Cancel
// throwing the cancel error.
FileDialogRequest databaseFileRequest(const QString& title) {
    FileDialogRequest request;
    request.title = title;
    request.filter = QString::fromLatin1(TreeManager::kFileFilter);
    request.filterIndex = 1;
    request.cancelRaises = true;
    return request;
}

}  // namespace

TreeManager::TreeManager(DatabaseState& state, NoteSelection& notes, controls::TreeView& tree,
                         controls::RichTextBox& editor, UserDialogs& dialogs, TreeHost& host)
    : state_(state), notes_(notes), tree_(tree), editor_(editor), dialogs_(dialogs), host_(host) {}

QString TreeManager::RootLabel(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    return QStringLiteral("My Tamix (") + name.left(std::max<qsizetype>(0, name.size() - 4)) +
           QLatin1Char(')');
}

controls::Node* TreeManager::Root() const {
    return tree_.Nodes().Count() > 0 ? tree_.Nodes().Item(1) : nullptr;
}

void TreeManager::ClearTree() {
    if (tree_.Nodes().Count() > 0) tree_.Nodes().Remove(1);
    controls::Node* root = tree_.Nodes().Add(nullptr, controls::Relationship::Last, QString(),
                                             QString::fromLatin1(kNoDatabaseLabel));
    tree_.setSelectedItem(root);
    state_.MaxKeyNumber = NodeKey::kRootNumber;
    root->setKey(QString::fromStdString(NodeKey::Format(state_.MaxKeyNumber)));
    const bool guard = state_.EditorChangeGuard;
    state_.EditorChangeGuard = true;
    editor_.setText(QString());
    state_.EditorChangeGuard = guard;
    state_.ShownKey.clear();
    tree_.Refresh();
    editor_.Refresh();
}

void TreeManager::LoadTree() {
    BusyScope busy(host_);
    ClearTree();
    state_.MaxKeyNumber = NodeKey::kRootNumber;
    controls::Node* root = Root();
    root->setText(RootLabel(state_.CurrentFileName));
    root->setSorted(true);
    if (state_.Node.FileIsEmpty()) return;

    controls::Nodes& nodes = tree_.Nodes();
    state_.MaxKeyNumber = TreeWalk::Load(
        state_.Node, state_.TempTree,
        [&](const std::string& key, const std::string& parent, const std::string& text) {
            controls::Node* parentNode = nodes.Find(QString::fromStdString(parent));
            if (!parentNode) return;  // the walk only visits notes whose parent is shown
            parentNode->setSorted(true);
            controls::Node* added = nodes.Add(parentNode, controls::Relationship::Child,
                                              QString::fromStdString(key), QString::fromStdString(text));
            added->setSorted(true);
            // Kept up to date note by note: a walk that fails part way leaves
            // its notes shown, and no later insert may reuse one of their keys.
            state_.MaxKeyNumber =
                static_cast<std::int32_t>(std::max<std::int64_t>(state_.MaxKeyNumber, NodeKey::Number(key)));
        });
}

int TreeManager::FindTreeIndex(const QString& key) const {
    if (NodeKey::Number(key.toStdString()) == NodeKey::kRootNumber) return 1;
    const controls::Node* node = tree_.Nodes().Find(key);
    return node ? node->Index() : 0;
}

void TreeManager::PushKey(const QString& key) { state_.KeyStack.PushKey(key); }

QString TreeManager::PopKey() { return state_.KeyStack.PopKey(); }

bool TreeManager::OpenDatabaseFile() {
    state_.Node.OpenFile(nativePath(state_.CurrentFileName));
    state_.DatabaseOpen = true;
    auto& recent = state_.RecentFiles;
    if (std::find(recent.begin(), recent.end(), state_.CurrentFileName) == recent.end()) {
        for (std::size_t i = recent.size() - 1; i > 0; --i) recent[i] = recent[i - 1];
        recent[0] = state_.CurrentFileName;
        host_.RecentFilesChanged();
    }
    return true;
}

void TreeManager::removeForNewDatabase(const QString& name) const {
    if (!QFileInfo::exists(name)) return;
    const bool openHere = state_.DatabaseOpen && QFileInfo(name) == QFileInfo(state_.CurrentFileName);
    if (!openHere && cDataBase::dbInUse(nativePath(name))) throw cDataBase::dbInUseError(name.toStdString());
    if (!QFile::remove(name))
        throw TamixError(kErrPermission, "The file " + name.toStdString() + " cannot be replaced.");
}

bool TreeManager::CreateDatabaseFile() {
    removeForNewDatabase(state_.CurrentFileName);
    state_.Node.CreateFile(nativePath(state_.CurrentFileName));
    state_.DatabaseOpen = true;
    return true;
}

bool TreeManager::ShowNewDatabaseDialog() {
    FileDialogRequest request = databaseFileRequest(QStringLiteral("Select New Tamix Database to create"));
    request.overwritePrompt = true;
    const QString confirmed = dialogs_.saveFile(request);
    if (confirmed.isEmpty()) return false;
    QString name = confirmed;
    if (!name.contains(QLatin1Char('.'))) name += QStringLiteral(".TM2");
    name = AbsolutePath(name);
    if (state_.DatabaseOpen && QFileInfo(name) == QFileInfo(state_.CurrentFileName))
        throw TamixError(kErrPermission, "The database " + name.toStdString() +
                                             " is open; a new database cannot replace it.");
    // The dialog asked about the name the user typed; a file of the final
    // name is replaced only after its own question.
    if (name != AbsolutePath(confirmed) && QFileInfo::exists(name) &&
        dialogs_.message(name + QStringLiteral(" already exists. Do you want to replace it?"), MsgButtons::YesNo,
                         MsgIcon::Exclamation) != MsgAnswer::Yes)
        return false;
    removeForNewDatabase(name);
    state_.CurrentFileName = name;
    return true;
}

bool TreeManager::ShowOpenDatabaseDialog() {
    FileDialogRequest request = databaseFileRequest(QStringLiteral("Select Tamix Database to open"));
    request.mustExist = true;
    const QString name = dialogs_.openFile(request);
    if (name.isEmpty()) return false;
    state_.CurrentFileName = AbsolutePath(name);
    return true;
}

void TreeManager::CloseDatabase() {
    if (state_.NoteChanged) notes_.SaveNote();
    state_.Node.CloseFile();
    state_.DatabaseOpen = false;
    ClearTree();
    host_.UpdateCommandState();
}

void TreeManager::ExpandRoot() {
    if (controls::Node* root = Root()) root->setExpanded(true);
    tree_.Refresh();
}

void TreeManager::ExitProgram() { host_.UnloadMainWindow(); }

void TreeManager::reportNotFound(const QString& path) {
    dialogs_.message(path + QStringLiteral(" was not found"), MsgButtons::Ok, MsgIcon::Exclamation);
}

void TreeManager::openSequence(const QString& chosen) {
    const QString path = AbsolutePath(chosen);
    if (state_.DatabaseOpen && QFileInfo::exists(path) && QFileInfo(path) != QFileInfo(state_.CurrentFileName)) {
        cNode probe;  // throws, leaving the open database as it is
        probe.OpenFile(nativePath(path));
        probe.CloseFile();
    }
    if (state_.DatabaseOpen) CloseDatabase();
    state_.CurrentFileName = path;
    OpenDatabaseFile();
    LoadTree();
    state_.NoteChanged = false;
    ExpandRoot();
    host_.UpdateCommandState();
    state_.NoteChanged = false;
    state_.TreeUntouched = true;
    controls::Node* root = Root();
    tree_.setSelectedItem(root);
    root->setSelected(true);
    editor_.setEnabled(false);  // nothing is shown until the first note click
    host_.FocusTree();
}

void TreeManager::NewDatabase() {
    RunCommand(host_, [&] {
        if (!ShowNewDatabaseDialog()) return;
        if (state_.DatabaseOpen) CloseDatabase();
        if (!CreateDatabaseFile()) return;
        LoadTree();
        ExpandRoot();
        host_.UpdateCommandState();
        host_.RefreshFormatState();
        state_.NoteChanged = false;
        notes_.tree_NodeClick(tree_.SelectedItem());
        state_.TreeUntouched = true;
    });
}

void TreeManager::OpenDatabase() {
    RunCommand(host_, [&] {
        const QString openNow = state_.CurrentFileName;
        if (!ShowOpenDatabaseDialog()) return;
        // The open database stays the current file until the chosen one opens.
        const QString chosen = state_.CurrentFileName;
        state_.CurrentFileName = openNow;
        openSequence(chosen);
    });
}

void TreeManager::OpenRecentFile(const QString& path) {
    if (path.isEmpty()) return;
    RunCommand(host_, [&] { openSequence(path); });
}

void TreeManager::OpenPath(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        reportNotFound(AbsolutePath(path));
        return;
    }
    RunCommand(host_, [&] { openSequence(path); });
}

void TreeManager::CloseCommand() {
    RunCommand(host_, [&] { CloseDatabase(); });
}

QString TreeManager::AbsolutePath(const QString& path) {
    if (path.isEmpty()) return path;
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

namespace {

const QString kSettingsSection = QStringLiteral("Settings");

}  // namespace

void TreeManager::ReadRecentFiles(const Settings& settings) {
    for (int i = 0; i < DatabaseState::kRecentFileCount; ++i)
        state_.RecentFiles[static_cast<std::size_t>(i)] =
            settings.getString(kSettingsSection, DatabaseState::RecentName(i + 1), QString());
    host_.RecentFilesChanged();
}

void TreeManager::SaveRecentFiles(Settings& settings) const {
    for (int i = 0; i < DatabaseState::kRecentFileCount; ++i)
        settings.setString(kSettingsSection, DatabaseState::RecentName(i + 1), state_.RecentFiles[static_cast<std::size_t>(i)]);
}

void TreeManager::StartupLoad(const QString& commandLine, const QString& startupFile) {
    if (!commandLine.isEmpty()) {
        if (QFileInfo(commandLine).isFile())
            StartupOpen(commandLine);
        else
            reportNotFound(AbsolutePath(commandLine));
    } else if (!startupFile.isEmpty() && QFileInfo(startupFile).isFile()) {
        StartupOpen(startupFile);
    }
    host_.UpdateCommandState();
    controls::Node* root = Root();
    tree_.setSelectedItem(root);
    state_.NoteChanged = false;
    notes_.tree_NodeClick(root);
    state_.TreeUntouched = true;
}

void TreeManager::StartupOpen(const QString& path) {
    RunCommand(host_, [&] {
        state_.CurrentFileName = AbsolutePath(path);
        OpenDatabaseFile();
        LoadTree();
        ExpandRoot();
    });
}

}  // namespace tamix
