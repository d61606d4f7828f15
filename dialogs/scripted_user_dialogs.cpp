#include "dialogs/scripted_user_dialogs.h"

#include <QDialog>
#include <QPrinter>

#include <utility>

#include <cstdio>
#include <cstdlib>

namespace tamix {

namespace {

const char* kindName(DialogKind kind) {
    switch (kind) {
    case DialogKind::Message: return "message box";
    case DialogKind::OpenFile: return "open dialog";
    case DialogKind::SaveFile: return "save dialog";
    case DialogKind::Font: return "font dialog";
    case DialogKind::Colour: return "colour dialog";
    case DialogKind::Print: return "print dialog";
    case DialogKind::About: return "about window";
    case DialogKind::Form: return "form";
    }
    return "dialog";
}

}  // namespace

ScriptedAnswer ScriptedAnswer::Message(MsgAnswer answer) {
    ScriptedAnswer a;
    a.kind = DialogKind::Message;
    a.message = answer;
    return a;
}

ScriptedAnswer ScriptedAnswer::File(DialogKind openOrSave, QString path) {
    ScriptedAnswer a;
    a.kind = openOrSave;
    a.path = std::move(path);
    return a;
}

ScriptedAnswer ScriptedAnswer::Cancel(DialogKind kind) {
    ScriptedAnswer a;
    a.kind = kind;
    a.cancel = true;
    a.message = MsgAnswer::Cancel;
    return a;
}

ScriptedAnswer ScriptedAnswer::Font(QFont font) {
    ScriptedAnswer a;
    a.kind = DialogKind::Font;
    a.font = std::move(font);
    return a;
}

ScriptedAnswer ScriptedAnswer::Colour(QColor colour) {
    ScriptedAnswer a;
    a.kind = DialogKind::Colour;
    a.colour = colour;
    return a;
}

ScriptedAnswer ScriptedAnswer::Print(int fromPage, int toPage, QString pdfFile) {
    ScriptedAnswer a;
    a.kind = DialogKind::Print;
    a.fromPage = fromPage;
    a.toPage = toPage;
    a.path = std::move(pdfFile);
    return a;
}

ScriptedAnswer ScriptedAnswer::About() {
    ScriptedAnswer a;
    a.kind = DialogKind::About;
    return a;
}

ScriptedAnswer ScriptedAnswer::Form(std::function<void(QDialog&)> script) {
    ScriptedAnswer a;
    a.kind = DialogKind::Form;
    a.form = std::move(script);
    return a;
}

ScriptedUserDialogs::ScriptedUserDialogs(FailureHook onFailure)
    : onFailure_(std::move(onFailure)) {
    if (!onFailure_) {
        onFailure_ = [](const QString& what) {
            std::fprintf(stderr, "unscripted dialog: %s\n", qPrintable(what));
            std::abort();
        };
    }
}

void ScriptedUserDialogs::answer(ScriptedAnswer answer) { answers_.push_back(std::move(answer)); }

QStringList ScriptedUserDialogs::messages() const {
    QStringList texts;
    for (const AskedDialog& a : asked_)
        if (a.kind == DialogKind::Message) texts << a.text;
    return texts;
}

void ScriptedUserDialogs::clearRecord() {
    asked_.clear();
    help_.clear();
    beeps_ = 0;
}

std::optional<ScriptedAnswer> ScriptedUserDialogs::next(AskedDialog asked) {
    asked.topmostDropped = topmostDropped();
    asked_.push_back(asked);
    if (whileOpen_) std::exchange(whileOpen_, {})();
    const QString what = QStringLiteral("%1 \"%2\"").arg(QLatin1String(kindName(asked.kind)), asked.text);
    if (answers_.empty()) {
        onFailure_(what + QStringLiteral(" asked with no answer scripted"));
        return std::nullopt;
    }
    if (answers_.front().kind != asked.kind) {
        onFailure_(what + QStringLiteral(" asked while the script expects a ") +
                   QLatin1String(kindName(answers_.front().kind)));
        return std::nullopt;
    }
    ScriptedAnswer a = std::move(answers_.front());
    answers_.pop_front();
    return a;
}

MsgAnswer ScriptedUserDialogs::doMessage(const QString& text, MsgButtons buttons, MsgIcon icon) {
    AskedDialog asked{DialogKind::Message, text, buttons, icon, {}, false};
    const auto a = next(asked);
    if (!a) return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    return a->message;
}

QString ScriptedUserDialogs::fileAnswer(DialogKind kind, const FileDialogRequest& request) {
    AskedDialog asked{kind, request.title, MsgButtons::Ok, MsgIcon::None, request, false};
    const auto a = next(asked);
    if (!a || a->cancel) {
        cancelled(request.cancelRaises);
        return {};
    }
    return a->path;
}

QString ScriptedUserDialogs::doOpenFile(const FileDialogRequest& request) {
    return fileAnswer(DialogKind::OpenFile, request);
}

QString ScriptedUserDialogs::doSaveFile(const FileDialogRequest& request) {
    return fileAnswer(DialogKind::SaveFile, request);
}

std::optional<QFont> ScriptedUserDialogs::doChooseFont(const QFont& initial, bool cancelRaises) {
    const auto a = next({DialogKind::Font, initial.family(), MsgButtons::Ok, MsgIcon::None, {}, false});
    if (!a || a->cancel) {
        cancelled(cancelRaises);
        return std::nullopt;
    }
    return a->font;
}

std::optional<QColor> ScriptedUserDialogs::doChooseColour(const QColor& initial, bool cancelRaises) {
    const auto a = next({DialogKind::Colour, initial.name(), MsgButtons::Ok, MsgIcon::None, {}, false});
    if (!a || a->cancel) {
        cancelled(cancelRaises);
        return std::nullopt;
    }
    return a->colour;
}

bool ScriptedUserDialogs::doChoosePrinter(QPrinter& printer, PrintRequest& request) {
    const auto a = next({DialogKind::Print, QString(), MsgButtons::Ok, MsgIcon::None, {}, false});
    if (!a || a->cancel) {
        cancelled(request.cancelRaises);
        return false;
    }
    request.fromPage = a->fromPage;
    request.toPage = a->toPage;
    if (!a->path.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(a->path);
    }
    return true;
}

void ScriptedUserDialogs::doShowAbout() {
    next({DialogKind::About, QString(), MsgButtons::Ok, MsgIcon::None, {}, false});
}

int ScriptedUserDialogs::doRunModal(QDialog& form) {
    const auto a = next({DialogKind::Form, form.windowTitle(), MsgButtons::Ok, MsgIcon::None, {}, false});
    form.setModal(true);
    form.show();
    if (a && !a->cancel && a->form) a->form(form);
    if (form.isVisible()) form.reject();
    return form.result();
}

}  // namespace tamix
