// Speed of the RTF codec on large text-heavy notes, and of loading a note
// into a QTextDocument. Targets: reading >= 50 MB/s, writing >= 100 MB/s,
// loading a 1 MB note < 100 ms.

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "rtf/text_document_adapter.h"

namespace {

using namespace tamix::rtf;

// A note as the editor writes it: paragraphs of prose in a few formats, with
// accented letters, some characters outside Windows-1252, tabs and the
// occasional link-marked (protected, underlined, coloured) run.
RtfDocument textHeavyDocument(std::size_t targetBytes) {
    const char* words[] = {"note", "the", "tree", "caf\xC3\xA9", "r\xC3\xA9sum\xC3\xA9", "link", "and", "of",
                           "database", "\xE2\x82\xAC", "editor", "text", "\xCE\xA9mega", "paragraph", "print", "find"};
    CharFormat plain;
    plain.font = Font{"Arial", "swiss", 0};
    plain.halfPoints = 20;
    CharFormat bold = plain;
    bold.bold = true;
    CharFormat link = plain;
    link.underline = true;
    link.protect = true;
    link.color = Color{0, 0, 255};
    RtfDocument d;
    std::size_t bytes = 0;
    unsigned seed = 7;
    while (bytes < targetBytes) {
        Paragraph p;
        p.markFormat = plain;
        for (int run = 0; run < 6; ++run) {
            std::string text;
            for (int w = 0; w < 12; ++w) {
                seed = seed * 1103515245u + 12345u;
                text += words[(seed >> 16) % 16];
                text += (w % 7 == 6) ? "\t" : " ";
            }
            bytes += text.size();
            p.append(Run{run == 2 ? bold : run == 4 ? link : plain, text});
        }
        d.paragraphs.push_back(std::move(p));
    }
    d.endsWithParagraphMark = true;
    return d;
}

void BM_ReadTextHeavy(benchmark::State& state) {
    const std::string rtf = RtfWriter::write(textHeavyDocument(std::size_t(state.range(0))));
    for (auto _ : state) {
        RtfReader reader;
        RtfDocument d = reader.read(rtf);
        benchmark::DoNotOptimize(d);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(rtf.size()));
    state.counters["rtf_bytes"] = double(rtf.size());
}
BENCHMARK(BM_ReadTextHeavy)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

void BM_WriteTextHeavy(benchmark::State& state) {
    const RtfDocument d = textHeavyDocument(std::size_t(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        std::string rtf = RtfWriter::write(d);
        size = rtf.size();
        benchmark::DoNotOptimize(rtf);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(size));
    state.counters["rtf_bytes"] = double(size);
}
BENCHMARK(BM_WriteTextHeavy)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

// Loading a note of about 1 MB of RTF into a QTextDocument, as selecting the
// note does (read, then build the document).
void BM_LoadNoteIntoTextDocument(benchmark::State& state) {
    std::string rtf;
    for (std::size_t target = std::size_t(state.range(0)) * 3 / 4; rtf.size() < std::size_t(state.range(0)); target += target / 8) {
        rtf = RtfWriter::write(textHeavyDocument(target));
    }
    for (auto _ : state) {
        QTextDocument doc;
        TextDocumentAdapter::loadRtf(rtf, doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.counters["rtf_bytes"] = double(rtf.size());
}
BENCHMARK(BM_LoadNoteIntoTextDocument)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// Reading the document back out as RTF (saving the note).
void BM_SaveNoteFromTextDocument(benchmark::State& state) {
    const std::string rtf = RtfWriter::write(textHeavyDocument(std::size_t(state.range(0)) * 3 / 4));
    QTextDocument doc;
    TextDocumentAdapter::loadRtf(rtf, doc);
    for (auto _ : state) {
        std::string out = TextDocumentAdapter::toRtf(doc);
        benchmark::DoNotOptimize(out);
    }
    state.counters["rtf_bytes"] = double(rtf.size());
}
BENCHMARK(BM_SaveNoteFromTextDocument)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
