#include "dialogs/user_dialogs.h"

#include "storage/tamix_error.h"

namespace tamix {

namespace {

// Restores the topmost state when the dialog ends, however it ends. A
// dialog asked from inside another (a message over one of our forms)
// leaves the state to the outer one.
class TopmostPause {
public:
    TopmostPause(const std::function<bool()>& isOn, const std::function<void(bool)>& set,
                 bool& dropped)
        : set_(set), dropped_(dropped) {
        if (!dropped_ && isOn && set && isOn()) {
            set_(false);
            active_ = true;
            dropped_ = true;
        }
    }
    ~TopmostPause() {
        if (active_) {
            dropped_ = false;
            set_(true);
        }
    }
    TopmostPause(const TopmostPause&) = delete;
    TopmostPause& operator=(const TopmostPause&) = delete;

private:
    const std::function<void(bool)>& set_;
    bool& dropped_;
    bool active_ = false;
};

}  // namespace

template <typename F> auto UserDialogs::aroundDialog(F&& body) {
    struct Open {
        int& depth;
        explicit Open(int& d) : depth(d) { ++depth; }
        ~Open() { --depth; }
    } open(openDialogs_);
    TopmostPause pause(topmostIsOn_, setTopmost_, topmostDropped_);
    return body();
}

void UserDialogs::setTopmostHooks(std::function<bool()> isOn, std::function<void(bool)> set) {
    topmostIsOn_ = std::move(isOn);
    setTopmost_ = std::move(set);
}

void UserDialogs::cancelled(bool cancelRaises) {
    if (cancelRaises) throw TamixError(kErrCancel, kCancelDescription);
}

MsgAnswer UserDialogs::message(const QString& text, MsgButtons buttons, MsgIcon icon) {
    return aroundDialog([&] { return doMessage(text, buttons, icon); });
}

QString UserDialogs::openFile(const FileDialogRequest& request) {
    return aroundDialog([&] { return doOpenFile(request); });
}

QString UserDialogs::saveFile(const FileDialogRequest& request) {
    return aroundDialog([&] { return doSaveFile(request); });
}

std::optional<QFont> UserDialogs::chooseFont(const QFont& initial, bool cancelRaises) {
    return aroundDialog([&] { return doChooseFont(initial, cancelRaises); });
}

std::optional<QColor> UserDialogs::chooseColour(const QColor& initial, bool cancelRaises) {
    lastColour_ = initial;  // a cancelled dialog still held its initial colour
    std::optional<QColor> chosen = aroundDialog([&] { return doChooseColour(initial, cancelRaises); });
    if (chosen && chosen->isValid()) lastColour_ = *chosen;
    return chosen;
}

bool UserDialogs::choosePrinter(QPrinter& printer, PrintRequest& request) {
    return aroundDialog([&] { return doChoosePrinter(printer, request); });
}

void UserDialogs::showHelp(const QString& htmlFile) { doShowHelp(htmlFile); }

void UserDialogs::showAbout() {
    aroundDialog([&] { doShowAbout(); });
}

int UserDialogs::runModal(QDialog& form) {
    return aroundDialog([&] { return doRunModal(form); });
}

}  // namespace tamix
