// Printing a long note: paginating about 200 pages, and the preview window's
// load (count the pages, draw page 1, build the five scale images), which is
// what the user waits for before the first page shows. Each iteration starts
// from a fresh layout.
#include <QApplication>
#include <QPrinter>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <string>

#include "dialogs/scripted_user_dialogs.h"
#include "print/frm_doc_preview.h"
#include "print/page_engine.h"
#include "rtf/text_document_adapter.h"

namespace {

const QSize kLetter(12240, 15840);

std::string body(int paragraphs) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int p = 0; p < paragraphs; ++p) {
        if (p % 10 == 0) rtf += "{\\b Heading " + std::to_string(p / 10) + "}\\par ";
        for (int w = 0; w < 60; ++w) rtf += "word" + std::to_string(w) + (w % 7 == 0 ? " {\\i italic} " : " ");
        rtf += "\\par ";
    }
    return rtf + "}";
}

// A note of about 200 Letter pages of wrapped paragraphs.
struct LongNote {
    QTextDocument document;
    tamix::PageMargins margins;
    int pages = 0;

    LongNote() {
        int paragraphs = 400;
        for (int round = 0; round < 2; ++round) {
            tamix::rtf::TextDocumentAdapter::loadRtf(body(paragraphs), document);
            pages = tamix::PageEngine(document, margins).pageCount(kLetter);
            paragraphs = paragraphs * 200 / pages;
        }
    }
};

void PaginateTwoHundredPages(benchmark::State& state) {
    LongNote note;
    for (auto _ : state) {
        tamix::PageEngine engine(note.document, note.margins);
        benchmark::DoNotOptimize(engine.pageCount(kLetter));
    }
    state.counters["pages"] = note.pages;
}
BENCHMARK(PaginateTwoHundredPages)->Unit(benchmark::kMillisecond);

// What a preview window needs besides the note: a Letter PDF printer and
// dialogs that are never asked.
struct PreviewParts {
    PreviewParts() {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::Letter));
    }
    QPrinter printer{QPrinter::HighResolution};
    tamix::ScriptedUserDialogs dialogs;
    bool printRequested = false;
};

void PreviewFirstPageOfTwoHundred(benchmark::State& state) {
    LongNote note;
    PreviewParts parts;
    int pages = 0;
    for (auto _ : state) {
        tamix::frmDocPreview preview(note.document, parts.printer, note.margins, parts.printRequested, parts.dialogs);
        preview.Load();
        pages = preview.pageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(PreviewFirstPageOfTwoHundred)->Unit(benchmark::kMillisecond);

// Choosing the last page in an open preview.
void PreviewShowsTheLastPage(benchmark::State& state) {
    LongNote note;
    PreviewParts parts;
    tamix::frmDocPreview preview(note.document, parts.printer, note.margins, parts.printRequested, parts.dialogs);
    preview.Load();
    QImage canvas = preview.pageCanvas();
    for (auto _ : state) preview.FormPreviewPage(canvas, preview.pageCount());
}
BENCHMARK(PreviewShowsTheLastPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
