#include "editor/clipboard_commands.h"

#include "controls/rich_text_box.h"
#include "dialogs/clipboard.h"
#include "dialogs/command_table.h"
#include "dialogs/user_dialogs.h"
#include "editor/clipboard_content.h"
#include "links/link_handler.h"
#include "rtf/rtf_writer.h"
#include "tree/database_state.h"
#include "tree/tree_host.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

namespace tamix {

namespace {

constexpr int kCtrl = 2;
constexpr int kKeyInsert = 45;

}  // namespace

const QString ClipboardCommands::kLargeDocumentMessage =
    QStringLiteral("This document is over 64kB in size and may impact performance");

ClipboardCommands::ClipboardCommands(DatabaseState& state, controls::RichTextBox& editor, LinkHandler& links,
                                     UserDialogs& dialogs, TreeHost& host, CommandTable& commands,
                                     std::function<bool()> editorActive)
    : state_(state), editor_(editor), links_(links), dialogs_(dialogs), host_(host), commands_(commands),
      editorActive_(std::move(editorActive)) {
    const auto command = [this](void (ClipboardCommands::*run)()) {
        return [this, run] { RunCommand(host_, [this, run] { (this->*run)(); }); };
    };
    commands_.bind("mnuEditCut", command(&ClipboardCommands::CutCommand), [this] { return CanCutOrCopy(); });
    commands_.bind("mnuEditCopy", command(&ClipboardCommands::CopyCommand), [this] { return CanCutOrCopy(); });
    commands_.bind("mnuEditPaste", command(&ClipboardCommands::PasteCommand), [this] { return CanPaste(); });
    commands_.bind("mnuEditPasteText", command(&ClipboardCommands::PasteTextCommand),
                   [this] { return CanPasteText(); });

    // The pop-up menu of the editor is the Edit menu, shown on the right
    // button's release; the editor's own menu would cut and paste past the
    // link table.
    editor_.setContextMenuPolicy(Qt::PreventContextMenu);
    using controls::RichTextBox;
    QObject::connect(&editor_, &RichTextBox::Change, &queue_, [this] { ++changes_; });
    // Ctrl+Insert is the editor's other copy key; it copies as Ctrl+C does.
    QObject::connect(&editor_, &RichTextBox::KeyDown, &queue_, [this](int& key, int& shift) {
        if (key != kKeyInsert || shift != kCtrl) return;
        key = 0;
        shift = 0;
        commands_.run(QStringLiteral("mnuEditCopy"));
    });
    // Paste follows what the clipboard holds, also when another program
    // changes it while this window is active.
    dialogs_.clipboard().setChanged([this, alive = QPointer<QObject>(&queue_)] {
        if (alive) host_.RefreshFormatState();
    });
}

ClipboardCommands::~ClipboardCommands() = default;

bool ClipboardCommands::CanCutOrCopy() const { return editor_.SelLength() >= 1; }

bool ClipboardCommands::CanPaste() const {
    return editor_.isEnabled() && editorActive_() && ClipboardContent::holdsPasteable(dialogs_.clipboard().mimeData());
}

bool ClipboardCommands::CanPasteText() const {
    return editor_.isEnabled() && editorActive_() && ClipboardContent::holdsText(dialogs_.clipboard().mimeData());
}

void ClipboardCommands::copySelection() {
    std::unique_ptr<QMimeData> data = ClipboardContent::fromSelection(editor_);
    Clipboard& clipboard = dialogs_.clipboard();
    clipboard.clear();
    clipboard.setMimeData(std::move(data));
}

void ClipboardCommands::CopyCommand() {
    if (editor_.SelLength() == 0) return;
    if (links_.SelectionTouchesLink()) {
        links_.PrepareLinkedSelection();
        state_.PendingRelink = true;
    }
    // However the copy ends, the links are marked and protected again.
    const auto remark = [this] {
        state_.EditorChangeGuard = false;
        links_.rtfMain_Change();
    };
    try {
        copySelection();
    } catch (...) {
        remark();
        throw;
    }
    remark();
    host_.RefreshFormatState();  // Paste may have become possible
}

void ClipboardCommands::CutCommand() {
    if (editor_.SelLength() == 0) return;
    const bool touching = links_.SelectionTouchesLink();
    if (touching) links_.RemoveSelectedLinks();
    copySelection();
    removeSelection(touching);
}

void ClipboardCommands::RemoveSelection() {
    if (editor_.SelLength() == 0) return;
    const bool touching = links_.SelectionTouchesLink();
    if (touching) links_.RemoveSelectedLinks();
    removeSelection(touching);
}

void ClipboardCommands::removeSelection(bool linksRemoved) {
    // The later links move back now rather than being searched for: the
    // search grows with the length of the removed text.
    shiftThenEdit([&] { if (!linksRemoved) links_.ShiftLinksBack(); }, [this] { editor_.setSelText(QString()); });
}

void ClipboardCommands::PasteCommand() {
    const ClipboardContent::Paste content =
        ClipboardContent::read(dialogs_.clipboard().mimeData(), editor_.document()->defaultFont());
    if (content.kind != ClipboardContent::Paste::Kind::Nothing && editor_.SelLength() > 0) {
        if (pastePosted_) {
            dialogs_.beep();  // the posted Delete left the selection: do not post again
            return;
        }
        postDeleteThenPaste();
    } else {
        InsertAtCaret(content);
        if (content.kind == ClipboardContent::Paste::Kind::Nothing) return;
    }
    warnIfLarge();
}

void ClipboardCommands::InsertAtCaret(const ClipboardContent::Paste& content) {
    if (content.kind == ClipboardContent::Paste::Kind::Nothing) {
        if (!content.problem.isEmpty()) dialogs_.message(content.problem, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    shiftThenEdit([&] { links_.ShiftLinksForward(content.length); },
                  [&] {
                      if (content.kind == ClipboardContent::Paste::Kind::Rich)
                          editor_.setSelRTF(rtf::RtfWriter::write(content.document));
                      else
                          editor_.setSelText(content.text);
                  });
}

void ClipboardCommands::PasteTextCommand() {
    const ClipboardContent::Paste content = ClipboardContent::readText(dialogs_.clipboard().mimeData());
    if (content.kind == ClipboardContent::Paste::Kind::Nothing) {
        if (!content.problem.isEmpty()) dialogs_.message(content.problem, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const bool touching = links_.SelectionTouchesLink();
    if (touching) links_.RemoveSelectedLinks();
    shiftThenEdit(
        [&] {
            if (!touching) links_.ShiftLinksBack();
            links_.ShiftLinksForward(content.length);
        },
        [&] { editor_.setSelText(content.text); });
}

void ClipboardCommands::shiftThenEdit(const std::function<void()>& shift, const std::function<void()>& edit) {
    const LinkTable before = state_.Links;
    const int changes = changes_;
    shift();
    edit();
    if (changes_ == changes) state_.Links = before;  // refused: the text has not moved
}

void ClipboardCommands::postDeleteThenPaste() {
    pastePosted_ = true;
    const auto post = [this](QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QCoreApplication::postEvent(&editor_, new QKeyEvent(type, key, modifiers));
    };
    post(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    post(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
    post(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    post(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier);
    // Posted events run in the order posted: this runs after the keys.
    QMetaObject::invokeMethod(&queue_, [this] { pastePosted_ = false; }, Qt::QueuedConnection);
}

void ClipboardCommands::warnIfLarge() {
    const QMimeData* data = dialogs_.clipboard().mimeData();
    if (data && data->hasText()) return;
    if (editor_.TextRTF().size() <= kLargeDocument) return;
    dialogs_.message(kLargeDocumentMessage, MsgButtons::Ok);
}

}  // namespace tamix
