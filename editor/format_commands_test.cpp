// The formatting commands through the real main window: toggles over mixed
// text and over links, the size box, the bullet and paragraph dialogs, the
// insert commands over a link, and what the toolbar and menus enable.

#include "controls/rich_text_box.h"
#include "testing/main_window_fixture.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace tamix {
namespace {

using controls::Tristate;

// Note 2 holds `body`; note 3 "Other" is plain. With `link`, the characters
// 4 ... 7 ("Beta") of note 2 are a link to note 3.
class FormatCommandsTest : public MainWindowFixture {
protected:
    controls::RichTextBox& open(const char* body, bool link = false) {
        const QString file = path("f.TM2");
        window_.reset();  // a window of an earlier case lets go of the file
        TestDatabase::write(file, {{2, 1, "Note", body}, {3, 1, "Other"}});
        if (link) TestDatabase::setLinks(file, 2, {{4, "Beta", "Note:k0000000003"}});
        start(file);
        click(2);
        focusEditor();
        return window_->rtfMain();
    }
    void focusEditor() {
        window_->rtfMain().setFocus();
        QApplication::processEvents();
    }
    QAction* button(const char* key) { return window_->toolbarButton(QLatin1String(key)); }
    QComboBox* box(const char* name) { return window_->findChild<QComboBox*>(QLatin1String(name)); }
    // Runs `script` on the dialog the next command shows.
    void inForm(std::function<void(QDialog&)> script) { dialogs_.answer(ScriptedAnswer::Form(std::move(script))); }
    static void setText(QDialog& form, const char* box, const QString& text) {
        form.findChild<QLineEdit*>(QLatin1String(box))->setText(text);
    }
    static void press(QDialog& form, const char* button) {
        form.findChild<QPushButton*>(QLatin1String(button))->click();
    }

    static constexpr const char* kLinked =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue255;}\\f0\\fs20 "
        "see \\cf1\\ul\\protect Beta\\protect0\\ulnone\\cf0  here\\par}";
};

TEST_F(FormatCommandsTest, BoldOverHalfBoldMakesAllBoldThenAllPlain) {
    controls::RichTextBox& editor = open("{\\rtf1\\ansi\\f0\\fs20 ab\\b cd\\b0\\par}");
    editor.select(0, 4);
    ASSERT_EQ(editor.SelBold(), Tristate::Mixed);
    button("bold")->trigger();
    EXPECT_EQ(editor.SelBold(), Tristate::On);
    EXPECT_TRUE(button("bold")->isChecked());
    button("bold")->trigger();
    EXPECT_EQ(editor.SelBold(), Tristate::Off);
    EXPECT_FALSE(button("bold")->isChecked());
    EXPECT_TRUE(window_->state().NoteChanged);
}

TEST_F(FormatCommandsTest, BoldOverPartOfALinkTakesTheWholeLinkAndKeepsItsMarking) {
    controls::RichTextBox& editor = open(kLinked, true);
    editor.select(2, 4);  // "e Be": grows to the link's end
    button("bold")->trigger();
    editor.select(2, 6);
    EXPECT_EQ(editor.SelBold(), Tristate::On);
    editor.select(4, 4);
    EXPECT_EQ(editor.SelUnderline(), Tristate::On);
    EXPECT_EQ(editor.SelColor(), window_->options().LinkColour);
    EXPECT_EQ(editor.SelProtected(), Tristate::On);
    ASSERT_EQ(window_->state().Links.Count(), 1);
    EXPECT_EQ(window_->state().Links[1].LinkStart, 4);
    EXPECT_EQ(window_->state().Links[1].LinkEnd, 8);
    EXPECT_FALSE(window_->state().PendingRelink);
    EXPECT_FALSE(window_->state().EditorChangeGuard);
}

TEST_F(FormatCommandsTest, TheSizeBoxRoundsAndIsEmptyWhenMixed) {
    const struct {
        const char* body;
        const char* shown;
    } cases[] = {
        {"{\\rtf1\\ansi\\f0\\fs21 abcd\\par}", "11"},
        {"{\\rtf1\\ansi\\f0\\fs20 ab\\fs24 cd\\par}", ""},
    };
    for (const auto& c : cases) {
        controls::RichTextBox& editor = open(c.body);
        editor.select(0, 4);
        EXPECT_EQ(box("cmbSize")->currentText(), c.shown) << c.body;
    }
}

TEST_F(FormatCommandsTest, ATypedSizeIsTakenOnlyWhenItIsASize) {
    const struct {
        const char* typed;
        double size;  // 10 = refused, the text keeps its size
        int beeps;
    } cases[] = {{"14", 14, 0}, {"13.5pt", 13.5, 0}, {"big", 10, 1}, {"0", 10, 1}, {"5000", 10, 1}};
    for (const auto& c : cases) {
        controls::RichTextBox& editor = open("{\\rtf1\\ansi\\f0\\fs20 abcd\\par}");
        dialogs_.clearRecord();
        editor.select(0, 4);
        QComboBox* size = box("cmbSize");
        size->setFocus();
        size->lineEdit()->setText(QLatin1String(c.typed));
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
        editor.select(0, 4);
        EXPECT_EQ(editor.SelFontSize(), c.size) << c.typed;
        EXPECT_EQ(dialogs_.beeps(), c.beeps) << c.typed;
    }
}

TEST_F(FormatCommandsTest, TheParagraphDialogShowsAndTakesInches) {
    controls::RichTextBox& editor = open("{\\rtf1\\ansi\\f0\\fs20\\li720 abcd\\par}");
    inForm([](QDialog& form) {
        EXPECT_EQ(form.findChild<QLineEdit*>("txtLeft")->text(), "0.50");
        EXPECT_EQ(form.findChild<QComboBox*>("cmbAlign")->currentText(), "Left");
        setText(form, "txtLeft", "0.25");
        press(form, "Command1");
    });
    window_->menuItem("mnuFormatParagraph")->trigger();
    EXPECT_EQ(editor.SelIndent(), 360.0);
}

TEST_F(FormatCommandsTest, InvalidIndentsAreReportedLeftFirstThenRight) {
    controls::RichTextBox& editor = open("{\\rtf1\\ansi\\f0\\fs20 abcd\\par}");
    inForm([this](QDialog& form) {
        setText(form, "txtLeft", "x");
        setText(form, "txtRight", "y");
        press(form, "Command1");
        EXPECT_EQ(dialogs_.messages(), QStringList{"Invalid Indent"});
        EXPECT_EQ(form.focusWidget(), form.findChild<QLineEdit*>("txtLeft"));
        setText(form, "txtLeft", "1");
        press(form, "Command1");
        EXPECT_EQ(form.focusWidget(), form.findChild<QLineEdit*>("txtRight"));
        EXPECT_TRUE(form.isVisible());
    });
    answer(MsgAnswer::Ok);
    answer(MsgAnswer::Ok);
    window_->menuItem("mnuFormatParagraph")->trigger();
    EXPECT_EQ(dialogs_.messages().size(), 2);
    EXPECT_EQ(editor.SelIndent(), 0.0);
}

TEST_F(FormatCommandsTest, AMixedAlignmentShowsEmptyAndIsKeptOnOk) {
    controls::RichTextBox& editor = open("{\\rtf1\\ansi\\f0\\fs20\\qc one\\par\\pard\\qr two\\par}");
    editor.select(0, editor.TextLength());
    inForm([](QDialog& form) {
        EXPECT_EQ(form.findChild<QComboBox*>("cmbAlign")->currentText(), "");
        press(form, "Command1");
    });
    window_->menuItem("mnuFormatParagraph")->trigger();
    editor.select(0, 1);
    EXPECT_EQ(editor.SelAlignment(), 2);
    editor.select(6, 1);
    EXPECT_EQ(editor.SelAlignment(), 1);
}

TEST_F(FormatCommandsTest, TheBulletDialogRefusesANonNumber) {
    controls::RichTextBox& editor = open("{\\rtf1\\ansi\\f0\\fs20 abcd\\par}");
    inForm([this](QDialog& form) {
        setText(form, "txtIndent", "wide");
        press(form, "btnOK");
        EXPECT_TRUE(form.isVisible());
        setText(form, "txtIndent", "0.5");
        press(form, "btnOK");
    });
    answer(MsgAnswer::Ok);
    window_->menuItem("mnuFormatBullet")->trigger();
    EXPECT_EQ(dialogs_.messages(), QStringList{"Not a valid number"});
    EXPECT_EQ(editor.BulletIndent(), 720.0);
}

TEST_F(FormatCommandsTest, TheColourDialogOpensWithTheColourChosenLast) {
    controls::RichTextBox& editor = open("{\\rtf1\\ansi\\f0\\fs20 abcd\\par}");
    editor.select(0, 2);
    dialogs_.answer(ScriptedAnswer::Colour(QColor(0x11, 0x22, 0x33)));
    window_->menuItem("mnuFormatColour")->trigger();
    EXPECT_EQ(editor.SelColor(), 0x332211u);
    editor.select(2, 2);
    dialogs_.answer(ScriptedAnswer::Cancel(DialogKind::Colour));
    window_->menuItem("mnuFormatColour")->trigger();
    EXPECT_EQ(dialogs_.asked().back().text, "#112233");
    EXPECT_EQ(editor.SelColor(), 0u);
}

TEST_F(FormatCommandsTest, CtrlShortcutsActOnKeyRelease) {
    controls::RichTextBox& editor = open("{\\rtf1\\ansi\\f0\\fs20 abcd\\par}");
    editor.select(0, 4);
    QTest::keyClick(&editor, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(editor.SelBold(), Tristate::On);
    EXPECT_EQ(editor.SelAlignment(), 2);
    EXPECT_TRUE(button("center")->isChecked());
}

TEST_F(FormatCommandsTest, InsertDateOverALinkBeepsAndInsertsNothing) {
    controls::RichTextBox& editor = open(kLinked, true);
    editor.select(5, 0);  // snaps to the whole link
    const QString before = editor.Text();
    window_->menuItem("mnuInsertDate")->trigger();
    EXPECT_EQ(dialogs_.beeps(), 1);
    EXPECT_EQ(editor.Text(), before);
}

TEST_F(FormatCommandsTest, WithTheTreeFocusedFormattingIsDisabledAndReleased) {
    controls::RichTextBox& editor = open("{\\rtf1\\ansi\\f0\\fs20\\b abcd\\par}");
    editor.select(0, 4);
    ASSERT_TRUE(button("bold")->isChecked());
    ASSERT_TRUE(window_->menuItem("mnuFormat")->isEnabled());
    tree().setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(window_->menuItem("mnuFormat")->isEnabled());
    for (const char* key : {"bold", "italics", "strike", "underline", "left", "center", "right", "bullet"}) {
        EXPECT_FALSE(button(key)->isEnabled()) << key;
        EXPECT_FALSE(button(key)->isChecked()) << key;
    }
    EXPECT_EQ(box("cmbFont")->currentText(), "");
    EXPECT_EQ(box("cmbSize")->currentText(), "");
    EXPECT_FALSE(window_->menuItem("mnuEditInsertDateTime")->isEnabled());
}

TEST_F(FormatCommandsTest, HyperlinkIsDisabledAtAHundredLinks) {
    open("{\\rtf1\\ansi\\f0\\fs20 abcd\\par}");
    LinkTable& links = window_->state().Links;
    while (links.Count() < LinkTable::kMaxLinks - 1) links.Add({0, 1, "a", "http://a"});
    window_->RefreshFormatState();
    EXPECT_TRUE(window_->menuItem("mnuHyperLink")->isEnabled());
    links.Add({0, 1, "a", "http://a"});
    window_->RefreshFormatState();
    EXPECT_FALSE(window_->menuItem("mnuHyperLink")->isEnabled());
    links.Clear();
}

}  // namespace
}  // namespace tamix
