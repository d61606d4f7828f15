#include "editor/date_time_insert.h"

#include "dialogs/app_options.h"
#include "links/link_handler.h"
#include "testing/main_window_fixture.h"

namespace tamix {
namespace {

class DateTimeInsertTest : public MainWindowFixture {};

TEST_F(DateTimeInsertTest, WritesOneMomentByTheDateAndTimePatterns) {
    TestDatabase::write(path("d.TM2"), {{2, 1, "Note", "{\\rtf1\\ansi\\f0\\fs20 x\\par}"}});
    frmMain& w = start(path("d.TM2"));
    click(2);
    controls::RichTextBox& editor = w.rtfMain();
    AppOptions options;
    options.DateFormat = "yyyy.mm.dd";
    options.TimeFormat = "HH:mm";
    LinkHandler links(w.state(), editor, options);
    DateTimeInsert insert(editor, links, options, dialogs_,
                          [] { return QDateTime(QDate(2024, 1, 31), QTime(14, 5)); });
    const std::pair<void (DateTimeInsert::*)(), const char*> cases[] = {
        {&DateTimeInsert::InsertDateTime, "2024.01.31 @ 14:05"},
        {&DateTimeInsert::InsertDate, "2024.01.31"},
        {&DateTimeInsert::InsertTime, "14:05"},
    };
    for (const auto& [command, text] : cases) {
        editor.select(0, editor.TextLength());
        (insert.*command)();
        EXPECT_EQ(editor.Text(), QLatin1String(text));
        EXPECT_EQ(editor.SelStart(), editor.TextLength());  // the caret after the new text
    }
    EXPECT_TRUE(w.state().NoteChanged);
}

}  // namespace
}  // namespace tamix
