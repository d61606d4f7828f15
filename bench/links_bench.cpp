// One keystroke in a 1 MB note holding 100 links: the key's handling, the
// editor's change and the link table's relocation (every link after the
// caret moves by one), then the Backspace that takes the character back.
#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

#include "controls/rich_text_box.h"
#include "dialogs/app_options.h"
#include "links/link_handler.h"
#include "tree/database_state.h"

namespace {

// A 1 MB note of 20,560 lines holding 100 links, spread evenly.
struct LinkedNote {
    tamix::controls::RichTextBox editor;
    tamix::DatabaseState db;
    tamix::AppOptions options;
    tamix::LinkHandler links{db, editor, options};

    LinkedNote() {
        const QString line = QStringLiteral("a line of ordinary note text, with link words in it\r\n");
        const int lines = 1024 * 1024 / static_cast<int>(line.size());
        db.EditorChangeGuard = true;
        editor.setText(line.repeated(lines));
        const int step = lines / 100 * static_cast<int>(line.size());
        for (int i = 0; i < 100; ++i) {
            editor.select(i * step + 22, 4);  // "with"
            links.SetLink(editor.SelText(), QStringLiteral("http://example.org/%1").arg(i));
        }
        db.EditorChangeGuard = false;
    }
};

void KeystrokeInALargeNoteWithLinks(benchmark::State& state) {
    LinkedNote note;
    auto& editor = note.editor;
    QObject::connect(&editor, &tamix::controls::RichTextBox::Change, [&] { note.links.rtfMain_Change(); });
    editor.resize(800, 600);
    editor.show();
    editor.setSelStart(5);
    QApplication::processEvents();

    for (auto _ : state) {
        QTest::keyClick(&editor, Qt::Key_X);
        QTest::keyClick(&editor, Qt::Key_Backspace);
    }
    state.counters["chars"] = static_cast<double>(editor.Text().size());
    state.counters["links"] = note.db.Links.Count();
    state.SetLabel("one keystroke and its Backspace");
}
BENCHMARK(KeystrokeInALargeNoteWithLinks)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The change handling alone: every link re-anchored after the text before
// them grew by one character.
void RelocationAfterAKeystroke(benchmark::State& state) {
    LinkedNote note;
    tamix::LinkTable& table = note.db.Links;
    int shift = 1;
    for (auto _ : state) {
        for (int i = 1; i <= table.Count(); ++i) {  // as if a character came or went before them
            table[i].LinkStart += shift;
            table[i].LinkEnd += shift;
        }
        note.links.RelocateLinks();
        shift = -shift;
    }
    state.SetLabel("100 links, 1 MB");
}
BENCHMARK(RelocationAfterAKeystroke)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
