// Find through the real main window with scripted answers to the find
// dialog and the hit window, and against tamix-tool find.

#include "testing/main_window_fixture.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include <string>
#include <vector>

namespace tamix {
namespace {

struct Search {
    QString text;
    const char* scope = "optDB";  // optDoc, optTree or optDB
    bool whole = false;
    bool match = false;
};

class FindWindowTest : public MainWindowFixture {
protected:
    // Queues the find dialog's answer: `search` entered and confirmed.
    void askFind(const Search& search) {
        dialogs_.answer(ScriptedAnswer::Form([search](QDialog& d) {
            d.findChild<QLineEdit*>("txtSearchString")->setText(search.text);
            d.findChild<QRadioButton*>(search.scope)->setChecked(true);
            d.findChild<QCheckBox*>("chkWhole")->setChecked(search.whole);
            d.findChild<QCheckBox*>("chkCase")->setChecked(search.match);
            d.findChild<QPushButton*>("btnOK")->click();
        }));
    }
    // Queues the answers to `count` hits: each is recorded as "key TAB
    // position" and answered with "Find Next", the last one with `last`.
    void stepHits(int count, const char* last = "btnNext") {
        for (int i = 0; i < count; ++i) {
            const char* button = i + 1 == count ? last : "btnNext";
            dialogs_.answer(ScriptedAnswer::Form([this, button](QDialog& d) {
                const controls::RichTextBox& editor = window_->rtfMain();
                hits_ << window_->state().ShownKey + '\t' + QString::number(editor.SelStart());
                selected_ << editor.SelText();
                d.findChild<QPushButton*>(button)->click();
            }));
        }
    }
    // The lines of tamix-tool find over `file`.
    QStringList toolHits(const QString& file, const Search& search, const QString& under = QString()) {
        QStringList args{"find", file, search.text};
        if (search.whole) args << "--whole-word";
        if (search.match) args << "--match-case";
        if (!under.isEmpty()) args << "--under" << under;
        QProcess tool;
        tool.start(TAMIX_TOOL_PATH, args);
        EXPECT_TRUE(tool.waitForFinished(60000));
        const QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(tool.exitCode(), lines.isEmpty() ? 1 : 0);
        return lines;
    }
    // Runs Edit > Find for `search` over `hits` hits (see stepHits); unless
    // the last is cancelled, the search runs to its end message.
    void find(const Search& search, int hits, const char* last = "btnNext") {
        askFind(search);
        stepHits(hits, last);
        if (QLatin1String(last) == QLatin1String("btnNext")) answer(MsgAnswer::Ok);
        trigger("mnuEditFind");
    }
    // A database of `notes` at `name`, open in a fresh window.
    QString open(const char* name, const std::vector<TestDatabase::Note>& notes) {
        const QString file = path(name);
        TestDatabase::write(file, notes);
        start(file);
        return file;
    }
    bool expanded(int key) { return node(key)->Expanded(); }

    QStringList hits_;      // hits shown, as tool lines
    QStringList selected_;  // the editor's selection at each hit
};

TEST_F(FindWindowTest, CtrlFOnTheRootSearchesTheEmptyDocumentToTheEnd) {
    open("root.TM2", {{2, 1, "Alpha"}});
    askFind({"Alpha", "optDoc"});
    answer(MsgAnswer::Ok);
    key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(dialogs_.messages(), QStringList{"End of Search"});
}

// Root, A (2) > A1 (3) > A1x (4), B (5) > B1 (6), C (7); "word" in 4 and 6.
TEST_F(FindWindowTest, CancelKeepsTheHitAndItsPathOpenAndNothingIsSaved) {
    const std::string with = TestDatabase::rtfOf("a word here"), without = TestDatabase::rtfOf("nothing");
    const std::vector<TestDatabase::Note> notes{{2, 1, "A", without.c_str()}, {3, 2, "A1", without.c_str()},
                                                {4, 3, "A1x", with.c_str()},  {5, 1, "B", without.c_str()},
                                                {6, 5, "B1", with.c_str()},   {7, 1, "C", without.c_str()}};
    const QString file = open("tree.TM2", notes);
    find({"WORD"}, 2, "btnCancel");
    EXPECT_TRUE(dialogs_.messages().isEmpty());
    EXPECT_EQ(hits_, (QStringList{"k0000000004\t2", "k0000000006\t2"}));
    EXPECT_EQ(tree().SelectedItem(), node(6));
    EXPECT_EQ(window_->rtfMain().SelText(), "word");
    EXPECT_EQ((std::vector<bool>{expanded(2), expanded(3), expanded(5)}), (std::vector<bool>{false, false, true}));

    // Run to the end: the last note in the walk is shown, B keeps its state.
    find({"WORD"}, 2);
    EXPECT_EQ(dialogs_.messages(), QStringList{"End of Search"});
    EXPECT_EQ(tree().SelectedItem(), node(7));
    EXPECT_EQ(window_->state().ShownKey, "k0000000007");
    EXPECT_EQ((std::vector<bool>{expanded(2), expanded(3), expanded(5)}), (std::vector<bool>{false, false, true}));
    finish();
    for (const TestDatabase::Note& n : notes) EXPECT_EQ(TestDatabase::storedBody(file, n.key), n.body) << n.key;
}

TEST_F(FindWindowTest, SubtreeSearchVisitsTheNoteThenEachChildSubtreeInLabelOrder) {
    open("order.TM2", {{2, 1, "top x"}, {3, 2, "zeta x"}, {4, 2, "Alpha x"}, {5, 4, "inner x"},
                       {6, 2, "beta x"}, {7, 1, "other x"}});
    click(2);
    find({"x", "optTree", true}, 5);
    EXPECT_EQ(hits_, (QStringList{"k0000000002\t4", "k0000000004\t6", "k0000000005\t6", "k0000000006\t5",
                                  "k0000000003\t5"}));
}

TEST_F(FindWindowTest, TheDialogReopensWithTheLastChoicesAndItsCancelSearchesNothing) {
    open("again.TM2", {{2, 1, "Alpha"}});
    find({"nowhere", "optTree", true, true}, 0);
    dialogs_.answer(ScriptedAnswer::Form([](QDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("txtSearchString")->text(), "nowhere");
        EXPECT_TRUE(d.findChild<QRadioButton*>("optTree")->isChecked());
        EXPECT_TRUE(d.findChild<QCheckBox*>("chkWhole")->isChecked());
        EXPECT_TRUE(d.findChild<QCheckBox*>("chkCase")->isChecked());
        d.findChild<QPushButton*>("btnCancel")->click();
    }));
    trigger("mnuEditFind");
    EXPECT_EQ(dialogs_.messages(), QStringList{"End of Search"});
}

TEST_F(FindWindowTest, HitsPastCharacter32766AreFound) {
    const std::string body = TestDatabase::rtfOf((std::string(40000, 'x') + " needle").c_str());
    open("long.TM2", {{2, 1, "Long", body.c_str()}});
    click(2);
    find({"needle", "optDoc"}, 1);
    EXPECT_EQ(hits_, QStringList{"k0000000002\t40001"});
    EXPECT_EQ(selected_, QStringList{"needle"});
}

// A generated tree: labels out of key order, the search words split by
// formatting runs, after paragraph breaks, cut by one, accented in code
// page 1252 and in \u escapes, overlapping, and ending a body.
TEST_F(FindWindowTest, WindowHitsEqualTheToolsLines) {
    const char* pieces[] = {"ap{\\b pl}e ", "Apple\\par ", "ap\\par ple ", "pineapple ", "apple_pie ",
                            "caf\\'e9 ", "CAF\\'c9 ", "\\u969?\\u956?\\u941?\\u947?\\u945? ", "aaaa ",
                            "(apple) apple"};
    std::vector<std::string> bodies;
    std::vector<TestDatabase::Note> notes;
    const char* labels[] = {"delta", "Alpha", "charlie", "bravo", "Echo", "alpha"};
    for (int key = 2; key < 26; ++key) {
        std::string text;
        for (int piece = 0; piece < 10; ++piece) {
            if ((key * 7 + piece * 3) % 4 == 0) text += pieces[piece];
        }
        bodies.push_back("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + text + "}");
        notes.push_back({key, key < 6 ? 1 : key < 22 ? 2 + key % 3 : 5, labels[key % 6]});
    }
    for (std::size_t i = 0; i < notes.size(); ++i) notes[i].body = bodies[i].c_str();
    const QString file = path("generated.TM2");
    TestDatabase::write(file, notes);
    // The tool first: the window then holds the file.
    const Search searches[] = {{"apple"}, {"apple", "optDB", true}, {"Apple", "optDB", false, true},
                               {"café"}, {"ΩΜΈΓΑ"}, {"aa"}};
    std::vector<QStringList> expected;
    for (const Search& search : searches) expected.push_back(toolHits(file, search));
    // A large subtree is searched by one pass over the store, a small one
    // note by note.
    const QStringList under[] = {toolHits(file, {"apple"}, "k0000000003"), toolHits(file, {"apple"}, "k0000000005")};
    ASSERT_FALSE(under[0].isEmpty() || under[1].isEmpty());
    start(file);
    for (std::size_t i = 0; i < std::size(searches); ++i) {
        hits_.clear();
        selected_.clear();
        find(searches[i], static_cast<int>(expected[i].size()));
        EXPECT_EQ(hits_, expected[i]) << searches[i].text.toStdString();
        for (const QString& s : selected_) EXPECT_EQ(s.compare(searches[i].text, Qt::CaseInsensitive), 0);
    }
    for (int i = 0; i < 2; ++i) {
        click(i == 0 ? 3 : 5);
        hits_.clear();
        find({"apple", "optTree"}, static_cast<int>(under[i].size()));
        EXPECT_EQ(hits_, under[i]);
    }
}

}  // namespace
}  // namespace tamix
