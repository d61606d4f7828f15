// A paste into the shown editor, as Paste inserts it: plain text of many
// lines, one long paragraph, and one long word. The editor lays the text out as it goes
// in; these figures are what the clipboard's size limits rest on.
#include <QApplication>
#include <QMimeData>
#include <benchmark/benchmark.h>

#include "controls/rich_text_box.h"
#include "editor/clipboard_content.h"

namespace {

void paste(benchmark::State& state, const QString& text) {
    tamix::controls::RichTextBox editor;
    editor.resize(800, 600);
    editor.show();
    QMimeData data;
    data.setText(text);
    for (auto _ : state) {
        state.PauseTiming();
        editor.setText(QString());
        QApplication::processEvents();
        state.ResumeTiming();
        const tamix::ClipboardContent::Paste content = tamix::ClipboardContent::read(&data, QFont());
        editor.setSelText(content.text);
    }
    state.counters["chars"] = static_cast<double>(text.size());
}

// Lines of 100 characters.
void PasteOfLines(benchmark::State& state) {
    paste(state, (QString(99, 'w') + QLatin1Char('\n')).repeated(state.range(0)));
}
BENCHMARK(PasteOfLines)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(2);

// One paragraph of that many characters, in words.
void PasteOfOneParagraph(benchmark::State& state) {
    paste(state, QStringLiteral("word ").repeated(state.range(0) / 5));
}
BENCHMARK(PasteOfOneParagraph)->Arg(10000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

// One paragraph without a space: the editor finds no place to break its
// lines, and the layout time grows with the square of the length.
void PasteOfOneWord(benchmark::State& state) { paste(state, QString(state.range(0), 'w')); }
BENCHMARK(PasteOfOneWord)->Arg(10000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
