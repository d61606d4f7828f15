// Second starts arriving while a question is open: for each question and
// error box the commands can show, a second start's command (another
// database, the same one, a damaged file, an empty command line) arrives
// while it is open. Nothing may crash, nothing may be written to the wrong
// note, and the command runs once the question is answered.

#include "shell/instance_channel.h"
#include "shell/pending_commands.h"
#include "testing/shell_fixture.h"

namespace tamix {
namespace {

enum class SecondStart { OtherDatabase, SameDatabase, DamagedFile, EmptyCommandLine };

class SecondStartFaultTest : public ShellFixture {
protected:
    // A question a command asks: how to make the window ask it, and the
    // answers to script (the first is given while the second start arrives).
    struct Question {
        const char* name;
        std::function<void(SecondStartFaultTest&)> ask;
        std::vector<ScriptedAnswer> answers;
    };

    // Fresh files for each race.
    void writeFiles() {
        TestDatabase::write(path("mine.TM2"), {{2, 1, "Alpha"}, {3, 1, "Beta"}, {4, 2, "Child"}});
        TestDatabase::write(path("other.TM2"), {{2, 1, "Elsewhere"}, {3, 1, "Beyond"}});
        writeFile("junk.TM2", QByteArray(3000, 'x'));
    }

    // Runs `question` with `arrival` delivered while it is open, then checks
    // what the issue of such a race could break.
    void race(const Question& question, SecondStart arrival) {
        SCOPED_TRACE(question.name);
        writeFiles();
        frmMain& w = start(path("mine.TM2"));
        PendingCommands queue(&w);
        queue.setReady([&w] { return w.ReadyForCommand(); });
        click(3);
        typeInEditor("edited ");  // Beta's unsaved edit must reach Beta only

        QString sent;
        switch (arrival) {
        case SecondStart::OtherDatabase: sent = path("other.TM2"); break;
        case SecondStart::SameDatabase: sent = path("mine.TM2"); break;
        case SecondStart::DamagedFile: sent = path("junk.TM2"); break;
        case SecondStart::EmptyCommandLine: break;
        }
        const QString fileBefore = w.state().CurrentFileName;
        bool waited = false;
        dialogs_.whileNextIsOpen([&] {
            queue.enqueue(CommandMessage::kCodePageText, sent.toLatin1());
            QTest::qWait(2 * PendingCommands::kRetryMs);  // the dialog's own event loop runs
            waited = queue.size() == 1 && w.state().CurrentFileName == fileBefore;
        });
        for (const ScriptedAnswer& a : question.answers) dialogs_.answer(a);
        if (arrival == SecondStart::DamagedFile) answer(MsgAnswer::Ok);  // its error box, afterwards
        question.ask(*this);
        EXPECT_TRUE(waited) << "the command ran while the question was open";

        ASSERT_TRUE(QTest::qWaitFor([&] { return queue.size() == 0 && w.ReadyForCommand(); }, 5000));
        QTest::qWait(PendingCommands::kRetryMs);
        if (arrival == SecondStart::OtherDatabase) EXPECT_EQ(w.state().CurrentFileName, path("other.TM2"));
        else EXPECT_EQ(w.state().CurrentFileName, fileBefore);
        EXPECT_EQ(dialogs_.pending(), 0u);

        finish();
        // The other database was never written into.
        EXPECT_EQ(TestDatabase::storedBody(path("other.TM2"), 2), TestDatabase::rtfOf("Elsewhere"));
        EXPECT_EQ(TestDatabase::storedBody(path("other.TM2"), 3), TestDatabase::rtfOf("Beyond"));
        // Beta's edit went to Beta (unless the note it was asked about is gone), never to Alpha.
        EXPECT_EQ(TestDatabase::storedBody(path("mine.TM2"), 2), TestDatabase::rtfOf("Alpha"));
        const std::string beta = TestDatabase::storedBody(path("mine.TM2"), 3);
        EXPECT_TRUE(beta == "<missing>" || beta.find("edited Beta") != std::string::npos) << beta;
    }

    static std::vector<Question> questions() {
        using F = SecondStartFaultTest;
        return {
            {"Delete this Note? (no)", [](F& f) { f.key(Qt::Key_Delete, Qt::ShiftModifier); },
             {ScriptedAnswer::Message(MsgAnswer::No)}},
            {"Delete this Note? (yes)", [](F& f) { f.key(Qt::Key_Delete, Qt::ShiftModifier); },
             {ScriptedAnswer::Message(MsgAnswer::Yes)}},
            {"a note with sub-notes", [](F& f) { f.click(2); f.key(Qt::Key_Delete, Qt::ShiftModifier); },
             {ScriptedAnswer::Message(MsgAnswer::Ok)}},
            {"the open dialog, cancelled", [](F& f) { f.trigger("mnuFileOpen"); },
             {ScriptedAnswer::Cancel(DialogKind::OpenFile)}},
            {"the new dialog, cancelled", [](F& f) { f.trigger("mnuFileNew"); },
             {ScriptedAnswer::Cancel(DialogKind::SaveFile)}},
            {"an error box", [](F& f) { f.window_->ParseCommand(f.path("junk.TM2")); },
             {ScriptedAnswer::Message(MsgAnswer::Ok)}},
            {"a file that was not found", [](F& f) { f.window_->ParseCommand(f.path("gone.TM2")); },
             {ScriptedAnswer::Message(MsgAnswer::Ok)}},
            {"the drop question", [](F& f) { f.dropOn(3, 2); }, {ScriptedAnswer::Message(MsgAnswer::Yes)}},
        };
    }
};

TEST_F(SecondStartFaultTest, EveryQuestionHoldsTheCommandUntilItIsAnswered) {
    for (const Question& q : questions())
        for (SecondStart s : {SecondStart::OtherDatabase, SecondStart::SameDatabase, SecondStart::DamagedFile,
                              SecondStart::EmptyCommandLine}) {
            SCOPED_TRACE(static_cast<int>(s));
            race(q, s);
            dialogs_.clearRecord();
            if (HasFatalFailure()) return;
        }
}

}  // namespace
}  // namespace tamix
