#include "transfer/transfer_commands.h"

#include "controls/node.h"
#include "controls/nodes.h"
#include "controls/rich_text_box.h"
#include "controls/tree_view.h"
#include "dialogs/app_options.h"
#include "dialogs/command_table.h"
#include "dialogs/user_dialogs.h"
#include "storage/node_key.h"
#include "transfer/document_import.h"
#include "transfer/note_export.h"
#include "transfer/tree_export.h"
#include "transfer/tree_import.h"
#include "tree/database_state.h"
#include "tree/note_selection.h"
#include "tree/tree_host.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>

#include <memory>
#include <utility>
#include <vector>

namespace tamix {

namespace {

constexpr const char* kDocumentFilter = "Rich Text Format (*.RTF)|*.RTF|Text Document (*.TXT)|*.TXT";
constexpr const char* kDatabaseFilter = "Tamix Database (*.TM2)|*.TM2";
// Progress appears once a copy has run this long, and is refreshed this often.
constexpr qint64 kProgressAfterMs = 500;
constexpr qint64 kProgressEveryMs = 100;

// Sets a flag for its lifetime and puts the old value back.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

bool isRoot(const controls::Node* node) {
    return node == nullptr || NodeKey::Number(node->Key().toStdString()) == NodeKey::kRootNumber;
}

// The notes below `top` as the tree shows them, pre-order.
std::vector<TreeExport::Item> shapeOf(controls::Node* top, bool asRoot) {
    std::vector<TreeExport::Item> items;
    if (!asRoot) items.push_back({top->Key().toStdString(), true});
    std::vector<std::pair<controls::Node*, bool>> pending{{top->Child(), asRoot}};  // next sibling per level
    while (!pending.empty()) {
        auto& [node, topLevel] = pending.back();
        if (node == nullptr) {
            pending.pop_back();
            continue;
        }
        controls::Node* current = node;
        const bool currentTop = topLevel;
        node = current->Next();
        items.push_back({current->Key().toStdString(), currentTop});
        pending.emplace_back(current->Child(), false);
    }
    return items;
}

}  // namespace

TransferCommands::TransferCommands(DatabaseState& state, const AppOptions& options, controls::TreeView& tree,
                                   controls::RichTextBox& editor, NoteSelection& notes, UserDialogs& dialogs,
                                   TreeHost& host, std::function<void(const QString&)> setStatusText)
    : state_(state), options_(options), tree_(tree), editor_(editor), notes_(notes), dialogs_(dialogs), host_(host),
      setStatusText_(std::move(setStatusText)) {}

void TransferCommands::Register(CommandTable& table) {
    const auto open = [this] { return state_.DatabaseOpen; };
    table.bind("mnuToolsExportNote", [this] { ExportNote(); }, [this] { return !state_.ShownKey.isEmpty(); });
    table.bind("mnuToolsExportTree", [this] { ExportTree(); }, open);
    table.bind("mnuToolsImportTree", [this] { ImportTree(); }, open);
    table.bind("mnuToolsImportDoc", [this] { ImportDocument(); }, open);
}

std::string TransferCommands::nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

TransferProgress TransferCommands::progress(const QString& verb) {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto shownAt = std::make_shared<qint64>(-kProgressEveryMs);
    return [this, verb, clock, shownAt](std::int64_t done, std::int64_t total) {
        const qint64 now = clock->elapsed();
        if (now < kProgressAfterMs || now - *shownAt < kProgressEveryMs) return;
        *shownAt = now;
        const QLocale locale;
        if (setStatusText_)
            setStatusText_(verb + QLatin1Char(' ') + locale.toString(static_cast<qlonglong>(done)) +
                           QStringLiteral(" of ") + locale.toString(static_cast<qlonglong>(total)) +
                           QStringLiteral(" notes"));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

void TransferCommands::reselect(const QString& key) {
    controls::Node* node = tree_.Nodes().Find(key);
    if (node == nullptr) node = tree_.Nodes().Count() > 0 ? tree_.Nodes().Item(1) : nullptr;
    if (setStatusText_) setStatusText_(QString());
    if (node == nullptr) return;
    BusyScope busy(host_);
    tree_.setSelectedItem(node);
    state_.NoteChanged = false;
    notes_.tree_NodeClick(node);
}

void TransferCommands::ExportNote() {
    RunCommand(host_, [this] {
        FileDialogRequest request;
        request.title = QStringLiteral("Select RTF Document to create");
        request.filter = QString::fromLatin1(kDocumentFilter);
        request.filterIndex = 1;
        if (controls::Node* selected = tree_.SelectedItem()) request.fileName = selected->Text();
        request.overwritePrompt = true;
        const QString chosen = dialogs_.saveFile(request);
        BusyScope busy(host_);
        if (chosen.isEmpty()) return;
        const std::string name = nativePath(chosen);
        const NoteExport::Kind kind = NoteExport::KindOf(name);
        NoteExport::Write(NoteExport::TargetName(name, kind),
                          kind == NoteExport::Kind::Rtf ? editor_.TextRTF() : NoteExport::TextBytes(editor_.Text()));
    });
}

void TransferCommands::ExportTree() {
    RunCommand(host_, [this] {
        controls::Node* selected = tree_.SelectedItem();
        if (isRoot(selected)) {
            dialogs_.message(QStringLiteral("You have selected the root. This operation makes no sense"));
            return;
        }
        const QString key = selected->Key(), title = selected->Text();
        notes_.SaveIfChanged();
        FileDialogRequest request;
        request.title = QStringLiteral("Select Tamix Document to create");
        request.filter = QString::fromLatin1(kDatabaseFilter);
        request.filterIndex = 1;
        request.fileName = title;
        request.overwritePrompt = true;
        const QString chosen = dialogs_.saveFile(request);
        if (chosen.isEmpty()) return;
        const std::string path = TreeExport::TargetName(nativePath(chosen));
        TreeExport::CheckTarget(path, nativePath(state_.CurrentFileName));
        const bool asRoot = dialogs_.message(QStringLiteral("Treat selected Node as Root?"), MsgButtons::YesNo,
                                             MsgIcon::Question) == MsgAnswer::Yes;
        // The dialogs ran nested event loops: look the note up again.
        selected = tree_.Nodes().Find(key);
        if (selected == nullptr) return;
        try {
            BusyScope busy(host_);
            FlagScope guard(state_.EditorChangeGuard);
            TreeExport::Write(state_.Node, shapeOf(selected, asRoot), path, progress(QStringLiteral("Exported")));
        } catch (...) {
            reselect(key);
            throw;
        }
        reselect(key);
    });
}

QString TransferCommands::chooseSource(const QString& title, const char* filter) {
    FileDialogRequest request;
    request.title = title;
    request.filter = QString::fromLatin1(filter);
    request.filterIndex = 1;
    request.mustExist = true;
    return dialogs_.openFile(request);
}

void TransferCommands::ImportTree() {
    RunCommand(host_, [this] {
        notes_.SaveIfChanged();
        const QString chosen = chooseSource(QStringLiteral("Select Tamix Document to Import"), kDatabaseFilter);
        if (chosen.isEmpty()) return;
        controls::Node* selected = tree_.SelectedItem();
        if (selected == nullptr) return;
        const QString key = selected->Key();
        std::vector<TreeImport::Note> added;
        try {
            BusyScope busy(host_);
            FlagScope guard(state_.EditorChangeGuard);
            added = TreeImport::Run(state_.Node, nativePath(state_.CurrentFileName), nativePath(chosen),
                                    key.toStdString(), state_.MaxKeyNumber, progress(QStringLiteral("Imported")));
            // A parent is always added before its children.
            controls::Nodes& nodes = tree_.Nodes();
            const TransferProgress shown = progress(QStringLiteral("Showing"));
            const auto total = static_cast<std::int64_t>(added.size());
            std::int64_t done = 0;
            for (const TreeImport::Note& note : added) {
                shown(++done, total);
                controls::Node* parent = nodes.Find(QString::fromStdString(note.parent));
                if (parent == nullptr) continue;
                parent->setSorted(true);
                controls::Node* node = nodes.Add(parent, controls::Relationship::Child,
                                                 QString::fromStdString(note.key), QString::fromStdString(note.text));
                node->setSorted(true);
            }
        } catch (...) {
            reselect(key);
            throw;
        }
        reselect(key);
    });
}

void TransferCommands::ImportDocument() {
    RunCommand(host_, [this] {
        notes_.SaveIfChanged();
        const QString chosen = chooseSource(QStringLiteral("Select Document to Import"), kDocumentFilter);
        if (chosen.isEmpty()) return;
        controls::Node* selected = tree_.SelectedItem();
        if (selected == nullptr) return;
        const QString parentKey = selected->Key();
        const std::string path = nativePath(chosen);
        controls::Node* node = nullptr;
        try {
            BusyScope busy(host_);
            FlagScope guard(state_.EditorChangeGuard);
            const std::string title = DocumentImport::Title(path);
            const std::string key = DocumentImport::Run(state_.Node, path, parentKey.toStdString(), state_.MaxKeyNumber,
                                                        options_.DefaultFontName, options_.DefaultFontSize);
            controls::Node* parent = tree_.Nodes().Find(parentKey);
            parent->setSorted(true);
            node = tree_.Nodes().Add(parent, controls::Relationship::Child, QString::fromStdString(key),
                                     QString::fromStdString(title));
            node->setSorted(true);
            node->EnsureVisible();
        } catch (...) {
            reselect(parentKey);
            throw;
        }
        reselect(node->Key());
    });
}

}  // namespace tamix
