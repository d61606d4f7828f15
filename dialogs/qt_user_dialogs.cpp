#include "dialogs/qt_user_dialogs.h"

#include "dialogs/about_dialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tamix {

namespace {

// Places a dialog in the middle of the screen it will appear on.
void centreOnScreen(QWidget& dialog) {
    dialog.adjustSize();
    QScreen* screen = dialog.parentWidget() ? dialog.parentWidget()->screen()
                                            : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

}  // namespace

QtUserDialogs::QtUserDialogs(QString title, QIcon icon)
    : title_(std::move(title)), icon_(std::move(icon)) {}

QtUserDialogs::~QtUserDialogs() {
    if (helpWindow_ && !helpWindow_->parent()) delete helpWindow_.data();
}

QSize QtUserDialogs::helpSize() const {
    if (helpWindow_) return helpWindow_->size();
    if (helpSize_.isValid()) return helpSize_;
    QScreen* screen = parent_ ? parent_->screen() : QGuiApplication::primaryScreen();
    const QSize area = screen ? screen->availableGeometry().size() : QSize(1080, 840);
    return QSize(std::max(720, area.width() * 2 / 3), std::max(560, area.height() * 2 / 3)).boundedTo(area);
}

void QtUserDialogs::beep() { QApplication::beep(); }

QStringList QtUserDialogs::nameFilters(const QString& pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.contains(QLatin1Char('(')))
            filters << description;  // Qt reads the patterns from the parentheses
        else
            filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

MsgAnswer QtUserDialogs::doMessage(const QString& text, MsgButtons buttons, MsgIcon icon) {
    QMessageBox box(parent_);
    box.setWindowTitle(title_);
    box.setWindowIcon(icon_);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    centreOnScreen(box);
    const int pressed = box.exec();
    switch (pressed) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default:
        // Closed by the window manager: the button that means "no change".
        if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
        if (buttons == MsgButtons::YesNo) return MsgAnswer::No;
        return MsgAnswer::Cancel;
    }
}

QString QtUserDialogs::runFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !request.mustExist ? QFileDialog::AnyFile
                                                  : QFileDialog::ExistingFile);
    if (save && !request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = nameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.resize(640, 420);
    centreOnScreen(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        cancelled(request.cancelRaises);
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString QtUserDialogs::doOpenFile(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

QString QtUserDialogs::doSaveFile(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<QFont> QtUserDialogs::doChooseFont(const QFont& initial, bool cancelRaises) {
    QFontDialog dialog(initial, parent_);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    centreOnScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        cancelled(cancelRaises);
        return std::nullopt;
    }
    return dialog.selectedFont();
}

std::optional<QColor> QtUserDialogs::doChooseColour(const QColor& initial, bool cancelRaises) {
    QColorDialog dialog(initial, parent_);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    centreOnScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        cancelled(cancelRaises);
        return std::nullopt;
    }
    return dialog.selectedColor();
}

bool QtUserDialogs::doChoosePrinter(QPrinter& printer, PrintRequest& request) {
    QPrintDialog dialog(&printer, parent_);
    dialog.setMinMax(request.minPage, request.maxPage);
    if (request.fromPage > 0) dialog.setFromTo(request.fromPage, request.toPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    centreOnScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        cancelled(request.cancelRaises);
        return false;
    }
    if (printer.printRange() == QPrinter::PageRange) {
        request.fromPage = printer.fromPage();
        request.toPage = printer.toPage();
    } else {
        request.fromPage = 0;
        request.toPage = 0;
    }
    return true;
}

void QtUserDialogs::doShowHelp(const QString& htmlFile) {
    if (!helpWindow_) {
        const QSize size = helpSize();
        helpWindow_ = new QWidget(parent_, Qt::Window);
        helpWindow_->setWindowTitle(title_ + QStringLiteral(" Help"));
        helpWindow_->setWindowIcon(icon_);
        auto* layout = new QVBoxLayout(helpWindow_);
        layout->setContentsMargins(0, 0, 0, 0);
        helpBrowser_ = new QTextBrowser(helpWindow_);
        helpBrowser_->setOpenExternalLinks(true);
        layout->addWidget(helpBrowser_);
        // Sized before it is centred: a browser's own size hint is a thumbnail.
        helpWindow_->resize(size);
        QScreen* screen = parent_ ? parent_->screen() : QGuiApplication::primaryScreen();
        if (screen)
            helpWindow_->move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
    }
    helpBrowser_->setSource(htmlFile.startsWith(QLatin1Char(':'))
                                ? QUrl(QStringLiteral("qrc") + htmlFile)
                                : QUrl::fromLocalFile(htmlFile));
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

int QtUserDialogs::doRunModal(QDialog& form) { return form.exec(); }

void QtUserDialogs::doShowAbout() {
    AboutDialog dialog(title_, icon_, parent_);
    centreOnScreen(dialog);
    dialog.exec();
}

}  // namespace tamix
