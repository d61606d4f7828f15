// A note formatted through the commands keeps every format when it is
// saved and shown again, and when it is written out as an RTF document.

#include "controls/rich_text_box.h"
#include "testing/main_window_fixture.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <tuple>

namespace tamix {
namespace {

using controls::RichTextBox;
using controls::Tristate;

// Everything the commands set, over one range.
struct Format {
    Tristate bold, italic, underline, strike, bullet;
    std::optional<QString> font;
    std::optional<double> size;
    std::optional<quint32> colour;
    std::optional<int> alignment;
    std::optional<double> left, right, hanging;
    double bulletIndent;

    bool operator==(const Format&) const = default;
};

Format formatOf(RichTextBox& editor, int start, int length) {
    editor.select(start, length);
    return {editor.SelBold(),       editor.SelItalic(),    editor.SelUnderline(),  editor.SelStrikeThru(),
            editor.SelBullet(),     editor.SelFontName(),  editor.SelFontSize(),   editor.SelColor(),
            editor.SelAlignment(),  editor.SelIndent(),    editor.SelRightIndent(), editor.SelHangingIndent(),
            editor.BulletIndent()};
}

// "alpha beta gamma" / "delta epsilon" / "zeta eta": each word one range.
const std::pair<int, int> kWords[] = {{0, 5}, {6, 4}, {11, 5}, {18, 5}, {24, 7}, {33, 4}, {38, 3}};

std::vector<Format> formatsOf(RichTextBox& editor) {
    std::vector<Format> formats;
    for (const auto& [start, length] : kWords) formats.push_back(formatOf(editor, start, length));
    return formats;
}

class FormatRoundTripTest : public MainWindowFixture {
protected:
    void run(const char* command) { window_->menuItem(QLatin1String(command))->trigger(); }
    void dialog(std::function<void(QDialog&)> script) { dialogs_.answer(ScriptedAnswer::Form(std::move(script))); }
};

TEST_F(FormatRoundTripTest, EveryFormatSurvivesSaveReloadAndExport) {
    TestDatabase::write(path("r.TM2"),
                        {{2, 1, "Note", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 alpha beta gamma\\par "
                                        "delta epsilon\\par zeta eta\\par}"},
                         {3, 1, "Other"}});
    frmMain& w = start(path("r.TM2"));
    click(2);
    RichTextBox& editor = w.rtfMain();
    editor.setFocus();
    QApplication::processEvents();

    editor.select(0, 5);
    run("FormatBold");
    editor.select(6, 4);
    run("FormatItalic");
    editor.select(11, 5);
    run("FormatUnderline");
    run("FormatStrike");
    editor.select(18, 5);
    dialogs_.answer(ScriptedAnswer::Font(QFont("Courier New", 14)));
    run("mnuFormatFont");
    editor.select(24, 7);
    QComboBox* size = w.findChild<QComboBox*>("cmbSize");
    size->setFocus();
    size->lineEdit()->setText("18");
    QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    editor.select(33, 4);
    dialogs_.answer(ScriptedAnswer::Colour(QColor(200, 30, 40)));
    run("mnuFormatColour");
    editor.select(18, 1);
    run("FormatCenter");
    editor.select(33, 1);
    run("FormatBullet");
    dialog([](QDialog& f) {
        f.findChild<QLineEdit*>("txtIndent")->setText("0.5");
        f.findChild<QPushButton*>("btnOK")->click();
    });
    run("mnuFormatBullet");
    editor.select(0, 1);
    dialog([](QDialog& f) {
        f.findChild<QLineEdit*>("txtLeft")->setText("0.5");
        f.findChild<QLineEdit*>("txtRight")->setText("0.25");
        f.findChild<QLineEdit*>("txtFirst")->setText("0.125");
        f.findChild<QPushButton*>("Command1")->click();
    });
    run("mnuFormatParagraph");

    const std::vector<Format> formatted = formatsOf(editor);
    EXPECT_EQ(formatted[0].bold, Tristate::On);
    EXPECT_EQ(formatted[1].italic, Tristate::On);
    EXPECT_EQ(formatted[2].strike, Tristate::On);
    EXPECT_EQ(formatted[3].font, "Courier New");
    EXPECT_EQ(formatted[4].size, 18.0);
    EXPECT_EQ(formatted[5].colour, 0x281EC8u);
    EXPECT_EQ(formatted[3].alignment, 2);
    EXPECT_EQ(formatted[5].bullet, Tristate::On);
    EXPECT_EQ(formatted[6].bulletIndent, 720.0);
    EXPECT_EQ(formatted[0].left, 720.0);
    EXPECT_EQ(formatted[0].right, 360.0);
    EXPECT_EQ(formatted[0].hanging, 180.0);

    click(3);  // leaving the note saves it
    click(2);
    EXPECT_EQ(formatsOf(editor), formatted) << "saved and shown again";

    editor.SaveFile(path("note.rtf"));
    RichTextBox exported;
    exported.LoadFile(path("note.rtf"));
    EXPECT_EQ(formatsOf(exported), formatted) << "written as a document and read back";
}

}  // namespace
}  // namespace tamix
