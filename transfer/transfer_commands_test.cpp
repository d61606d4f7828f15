// The Tools > Export and Tools > Import commands in the real main window.

#include "storage/c_node.h"
#include "testing/main_window_fixture.h"

#include <QFile>

#include <cstdlib>

namespace tamix {
namespace {

class TransferCommandsTest : public MainWindowFixture {
protected:
    QString db = path("Notes.TM2");

    void SetUp() override {
        TestDatabase::write(db, {{2, 1, "Top"}, {3, 2, "zeta"}, {4, 2, "Alpha"}, {5, 4, "Inner"}, {6, 1, "Other"}});
    }
    static QByteArray bytes(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(TransferCommandsTest, ExportTreeWritesTheBytesTheToolWrites) {
    if (!QFile::exists(QStringLiteral(TAMIX_TOOL_PATH))) GTEST_SKIP() << "tamix-tool is not built";
    for (const bool asRoot : {false, true}) {
        const QString byWindow = path(asRoot ? "WindowRoot" : "Window"), byTool = path("Tool.TM2");
        start(db);
        click(2);
        dialogs_.answer(ScriptedAnswer::File(DialogKind::SaveFile, byWindow));
        answer(asRoot ? MsgAnswer::Yes : MsgAnswer::No);
        trigger("mnuToolsExportTree");
        EXPECT_EQ(window_->rtfMain().isEnabled(), true);  // the selected note is shown again
        finish();
        std::string command = std::string(TAMIX_TOOL_PATH) + " export-tree '" + db.toStdString() + "' k0000000002 '" +
                              byTool.toStdString() + "'" + (asRoot ? " --as-root" : "");
        ASSERT_EQ(std::system(command.c_str()), 0);
        const QByteArray written = bytes(byWindow + ".tm2");
        EXPECT_FALSE(written.isEmpty());
        EXPECT_EQ(written, bytes(byTool));
    }
}

TEST_F(TransferCommandsTest, ExportTreeRefusesTheRoot) {
    start(db);
    answer(MsgAnswer::Ok);
    trigger("mnuToolsExportTree");
    EXPECT_EQ(dialogs_.messages().value(0), QStringLiteral("You have selected the root. This operation makes no sense"));
}

TEST_F(TransferCommandsTest, ImportTreeAddsTheNotesBelowTheSelectedNoteAndRefusesItself) {
    const QString other = path("Other.TM2");
    TestDatabase::write(other, {{2, 1, "First"}, {3, 1, "Second"}, {4, 3, "Below"}});
    start(db);
    click(6);
    dialogs_.answer(ScriptedAnswer::File(DialogKind::OpenFile, other));
    trigger("mnuToolsImportTree");
    // Second is visited first: the keys continue after the highest, 6.
    ASSERT_NE(node(7), nullptr);
    EXPECT_EQ(node(7)->Text(), QStringLiteral("Second"));
    EXPECT_EQ(node(7)->Parent(), node(6));
    EXPECT_EQ(node(8)->Parent(), node(7));
    EXPECT_EQ(node(9)->Text(), QStringLiteral("First"));
    EXPECT_EQ(node(6)->Child()->Text(), QStringLiteral("First"));  // label order
    EXPECT_EQ(tree().SelectedItem(), node(6));

    dialogs_.answer(ScriptedAnswer::File(DialogKind::OpenFile, db));
    answer(MsgAnswer::Ok);
    trigger("mnuToolsImportTree");
    EXPECT_TRUE(dialogs_.messages().last().contains(QStringLiteral("cannot be imported into itself")));
    EXPECT_EQ(node(10), nullptr);
    EXPECT_EQ(tree().SelectedItem(), node(6));
}

}  // namespace
}  // namespace tamix
