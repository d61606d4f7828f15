#include "dialogs/qt_user_dialogs.h"
#include "dialogs/scripted_user_dialogs.h"
#include "storage/tamix_error.h"
#include "testing/test_app.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>

namespace tamix {
namespace {

FileDialogRequest openRequest(bool cancelRaises) {
    FileDialogRequest r;
    r.title = "Select Tamix Database to open";
    r.filter = "Tamix Database (*.TM2)|*.TM2";
    r.cancelRaises = cancelRaises;
    r.mustExist = true;
    return r;
}

TEST(ScriptedUserDialogs, CancelRaisesTheCancelErrorWhenAsked) {
    ScriptedUserDialogs dialogs;
    dialogs.answer(ScriptedAnswer::Cancel(DialogKind::OpenFile));
    try {
        dialogs.openFile(openRequest(true));
        FAIL() << "no cancel error";
    } catch (const TamixError& e) {
        EXPECT_EQ(e.number(), kErrCancel);
        EXPECT_EQ(e.number(), 32755);
    }
}

TEST(ScriptedUserDialogs, UnscriptedQuestionIsReportedAndTreatedAsCancel) {
    QStringList failures;
    ScriptedUserDialogs dialogs([&](const QString& what) { failures << what; });
    EXPECT_EQ(dialogs.message("Name is too long", MsgButtons::YesNoCancel), MsgAnswer::Cancel);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains("Name is too long"));
    EXPECT_THROW(dialogs.openFile(openRequest(true)), TamixError);
    EXPECT_EQ(failures.size(), 2);
}

TEST(UserDialogs, TopmostIsDroppedAroundEachDialogOnlyWhenOnAndRestoredAfterCancel) {
    ScriptedUserDialogs dialogs;
    bool topmost = true;
    QList<bool> changes;
    dialogs.setTopmostHooks([&] { return topmost; },
                            [&](bool on) { topmost = on; changes << on; });
    dialogs.answer(ScriptedAnswer::Message(MsgAnswer::Ok));
    dialogs.answer(ScriptedAnswer::Cancel(DialogKind::OpenFile));
    dialogs.message("x");
    EXPECT_THROW(dialogs.openFile(openRequest(true)), TamixError);
    EXPECT_TRUE(topmost);
    EXPECT_EQ(changes, (QList<bool>{false, true, false, true}));
    EXPECT_TRUE(dialogs.asked()[0].topmostDropped);
    EXPECT_TRUE(dialogs.asked()[1].topmostDropped);

    topmost = false;  // a window not on top is left alone
    dialogs.answer(ScriptedAnswer::Message(MsgAnswer::Ok));
    dialogs.message("x");
    EXPECT_EQ(changes.size(), 4);
    EXPECT_FALSE(dialogs.asked()[2].topmostDropped);
}

TEST(UserDialogs, OwnFormRunsShownModalWithTopmostDroppedAndItsScriptDecides) {
    testApp();
    ScriptedUserDialogs dialogs;
    bool topmost = true;
    dialogs.setTopmostHooks([&] { return topmost; }, [&](bool on) { topmost = on; });
    QDialog form;
    form.setWindowTitle("Hyperlink");
    bool shownModal = false, droppedInside = false, askingInside = false;
    dialogs.answer(ScriptedAnswer::Form([&](QDialog& f) {
        shownModal = f.isVisible() && f.isModal();
        droppedInside = !topmost;
        askingInside = dialogs.isAsking();
        f.accept();
    }));
    EXPECT_EQ(dialogs.runModal(form), QDialog::Accepted);
    EXPECT_TRUE(shownModal);
    EXPECT_TRUE(droppedInside);
    EXPECT_TRUE(askingInside);
    EXPECT_TRUE(topmost);
    EXPECT_FALSE(dialogs.isAsking());
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, DialogKind::Form);
    EXPECT_EQ(dialogs.asked()[0].text, "Hyperlink");
}

TEST(UserDialogs, MessageAskedFromAFormLeavesTopmostDroppedUntilTheFormEnds) {
    testApp();
    ScriptedUserDialogs dialogs;
    bool topmost = true;  // the window's stacking; the option itself stays on
    QList<bool> changes;
    dialogs.setTopmostHooks([] { return true; }, [&](bool on) { topmost = on; changes << on; });
    QDialog form;
    bool droppedAfterMessage = false;
    dialogs.answer(ScriptedAnswer::Form([&](QDialog&) {
        dialogs.message("Text cannot be blank", MsgButtons::OkCancel);
        droppedAfterMessage = !topmost;
    }));
    dialogs.answer(ScriptedAnswer::Message(MsgAnswer::Ok));
    dialogs.runModal(form);
    EXPECT_TRUE(droppedAfterMessage);
    EXPECT_TRUE(dialogs.asked()[1].topmostDropped);
    EXPECT_EQ(changes, (QList<bool>{false, true}));
}

TEST(ScriptedUserDialogs, FormLeftOpenOrCancelledIsClosedAsRejected) {
    testApp();
    ScriptedUserDialogs dialogs;
    QDialog form;
    int rejects = 0;
    QObject::connect(&form, &QDialog::rejected, [&] { ++rejects; });
    dialogs.answer(ScriptedAnswer::Form([](QDialog&) {}));
    dialogs.answer(ScriptedAnswer::Cancel(DialogKind::Form));
    EXPECT_EQ(dialogs.runModal(form), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(dialogs.runModal(form), QDialog::Rejected);
    EXPECT_EQ(rejects, 2);
}

TEST(QtUserDialogs, FilterPairsBecomeQtNameFilters) {
    EXPECT_EQ(QtUserDialogs::nameFilters("Tamix Database (*.TM2)|*.TM2"),
              QStringList{"Tamix Database (*.TM2)"});
    EXPECT_EQ(QtUserDialogs::nameFilters("Rich Text|*.rtf|Text|*.txt;*.text"),
              (QStringList{"Rich Text (*.rtf)", "Text (*.txt *.text)"}));
    EXPECT_TRUE(QtUserDialogs::nameFilters("dangling").isEmpty());
}

TEST(QtUserDialogs, MessageBoxHasTheTitleAndReportsThePressedButton) {
    testApp();
    QtUserDialogs dialogs("Tamix", QIcon());
    QString seenTitle;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenTitle = box->windowTitle();
        seenIcon = box->icon();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(dialogs.message("Delete this Note?", MsgButtons::YesNo, MsgIcon::Question),
              MsgAnswer::No);
    EXPECT_EQ(seenTitle, "Tamix");
    EXPECT_EQ(seenIcon, QMessageBox::Question);
}

TEST(QtUserDialogs, OwnFormRunsModallyUntilItCloses) {
    testApp();
    QtUserDialogs dialogs("Tamix", QIcon());
    QDialog form;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        wasModal = QApplication::activeModalWidget() == &form;
        form.accept();
    });
    EXPECT_EQ(dialogs.runModal(form), QDialog::Accepted);
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(form.isVisible());
}

TEST(QtUserDialogs, HelpOpensReadableRemembersItsSizeAndBelongsToTheMainWindow) {
    testApp();
    auto* main = new QWidget;
    QtUserDialogs dialogs("Tamix", QIcon());
    dialogs.setParentWindow(main);
    dialogs.showHelp(":/no/such/guide.html");
    ASSERT_NE(dialogs.helpWindow(), nullptr);
    EXPECT_GE(dialogs.helpWindow()->width(), 720);
    EXPECT_GE(dialogs.helpWindow()->height(), 560);
    dialogs.helpWindow()->resize(900, 700);
    EXPECT_EQ(dialogs.helpSize(), QSize(900, 700));
    QPointer<QWidget> help = dialogs.helpWindow();
    delete main;  // closing the main window takes its help with it
    EXPECT_TRUE(help.isNull());

    QtUserDialogs again("Tamix", QIcon());
    again.setHelpSize(QSize(900, 700));
    again.showHelp(":/no/such/guide.html");
    EXPECT_EQ(again.helpWindow()->size(), QSize(900, 700));
}

}  // namespace
}  // namespace tamix
