// The preview window and the print commands through the real main window,
// offscreen, with the print dialog answered by script (printing to PDF).

#include "print/frm_doc_preview.h"

#include "testing/main_window_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QToolButton>

namespace tamix {
namespace {

// A body of `count` numbered lines.
std::string linesBody(int count) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int i = 1; i <= count; ++i) rtf += "line " + std::to_string(i) + "\\par ";
    return rtf + "}";
}

int pdfPages(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return static_cast<int>(QString::fromLatin1(f.readAll()).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

class PreviewTest : public MainWindowFixture {
protected:
    const std::string longBody = linesBody(150);
    // Short note 2, long note 3; shows note `key`.
    void show(int key) {
        const QString file = path("print.TM2");
        TestDatabase::write(file, {{2, 1, "Short"}, {3, 1, "Long", longBody.c_str()}});
        start(file);
        click(key);
    }
    // Opens the preview and runs `script` on it while it is shown; `then`
    // answers the dialogs that follow it.
    void preview(std::function<void(frmDocPreview&)> script, std::vector<ScriptedAnswer> then = {}) {
        dialogs_.answer(ScriptedAnswer::Form([script](QDialog& form) { script(dynamic_cast<frmDocPreview&>(form)); }));
        for (ScriptedAnswer& a : then) dialogs_.answer(std::move(a));
        trigger("mnuFilePreview");
    }
    template <typename T> static T* part(QWidget& form, const char* name) {
        T* w = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static bool enabled(QWidget& form, const char* name) { return part<QWidget>(form, name)->isEnabled(); }
    static void press(QWidget& form, const char* name) { part<QAbstractButton>(form, name)->click(); }
    static QLabel* image(frmDocPreview& form) { return part<QLabel>(form, qPrintable(QStringLiteral("Pic%1").arg(form.scaleIndex()))); }
};

TEST_F(PreviewTest, AOnePageNoteHasOnePageAndNoArrows) {
    show(2);
    preview([](frmDocPreview& form) {
        EXPECT_EQ(part<QComboBox>(form, "cboPageNo")->count(), 1);
        EXPECT_FALSE(enabled(form, "cmdPrevPage"));
        EXPECT_FALSE(enabled(form, "cmdNextPage"));
        EXPECT_EQ(part<QComboBox>(form, "cboScale")->currentText(), "25");
        EXPECT_TRUE(enabled(form, "cmdZoomIn"));
        EXPECT_TRUE(enabled(form, "cmdZoomOut"));
        EXPECT_EQ(image(form)->pos(), QPoint(0, 0));
        EXPECT_EQ(part<QScrollBar>(form, "VScroll1")->maximum(), 0);  // the image is smaller than the viewport
        EXPECT_EQ(part<QScrollBar>(form, "HScroll1")->maximum(), 0);
        press(form, "cmdZoomOut");
        EXPECT_EQ(form.scaleIndex(), 5);
    });
}

TEST_F(PreviewTest, ArrowsStopAtTheEndsAndTheScaleAndScrollingSurviveAPageChange) {
    show(3);
    preview([](frmDocPreview& form) {
        ASSERT_GT(form.pageCount(), 2);
        EXPECT_FALSE(enabled(form, "cmdPrevPage"));
        press(form, "cmdPrevPage");
        EXPECT_EQ(form.shownPage(), 1);
        for (int i = 0; i < 4; ++i) press(form, "cmdZoomIn");
        EXPECT_EQ(part<QComboBox>(form, "cboScale")->currentText(), "150");
        EXPECT_FALSE(enabled(form, "cmdZoomIn"));
        press(form, "cmdZoomIn");
        EXPECT_EQ(form.scaleIndex(), 1);
        QScrollBar* v = part<QScrollBar>(form, "VScroll1");
        ASSERT_GT(v->maximum(), 0);
        v->setValue(v->maximum());
        EXPECT_EQ(image(form)->pos().y(), -v->maximum());
        const QImage first = form.pageCanvas();
        while (enabled(form, "cmdNextPage")) press(form, "cmdNextPage");
        EXPECT_EQ(form.shownPage(), form.pageCount());
        EXPECT_TRUE(enabled(form, "cmdPrevPage"));
        press(form, "cmdNextPage");
        EXPECT_EQ(form.shownPage(), form.pageCount());
        EXPECT_NE(form.pageCanvas(), first);
        EXPECT_EQ(form.scaleIndex(), 1);
        EXPECT_EQ(v->value(), v->maximum());
        press(form, "cmdZoomOut");
        press(form, "cmdZoomOut");
        EXPECT_EQ(v->value(), v->maximum());  // clamped to the smaller image
        EXPECT_EQ(image(form)->pos().y(), -v->value());
    });
}

TEST_F(PreviewTest, PrintFromThePreviewWritesAsManyPagesAsItShowsAndTheToolDoes) {
    show(3);
    const QString pdf = path("preview.pdf");
    int shown = 0;
    preview(
        [&](frmDocPreview& form) {
            shown = form.pageCount();
            press(form, "cmdPrint");
        },
        {ScriptedAnswer::Print(0, 0, pdf)});
    EXPECT_EQ(pdfPages(pdf), shown);

    // The sheet the commands' printer starts with.
    const QPageSize::PageSizeId size = QPrinter(QPrinter::HighResolution).pageLayout().pageSize().id();
    if (size != QPageSize::A4 && size != QPageSize::Letter) GTEST_SKIP() << "the printer's paper is neither A4 nor Letter";
    QProcess tool;
    finish();  // the tool opens the database on its own
    tool.start(TAMIX_TOOL_PATH, {"print", path("print.TM2"), "k0000000003", path("tool.pdf"), "--page-size",
                                 size == QPageSize::A4 ? "A4" : "Letter"});
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(pdfPages(path("tool.pdf")), shown);
}

TEST_F(PreviewTest, ThePrintCommandPrintsTheChosenRange) {
    show(3);
    int count = 0;
    preview([&](frmDocPreview& form) { count = form.pageCount(); });
    ASSERT_GT(count, 2);
    const struct {
        int from, to, pages;
    } cases[] = {{2, 3, 2}, {3, 2, count - 2}, {count + 1, count + 2, 0}, {0, 0, count}};
    int n = 0;
    for (const auto& c : cases) {
        const QString pdf = path(QStringLiteral("range%1.pdf").arg(++n));
        dialogs_.answer(ScriptedAnswer::Print(c.from, c.to, pdf));
        trigger("mnuFilePrint");
        EXPECT_EQ(QFile::exists(pdf), c.pages > 0) << c.from << "-" << c.to;
        EXPECT_EQ(pdfPages(pdf), c.pages) << c.from << "-" << c.to;
    }
    // The printer still writes to the last file chosen; cancelling leaves it unwritten.
    const QString last = path(QStringLiteral("range%1.pdf").arg(n));
    QFile::remove(last);
    dialogs_.answer(ScriptedAnswer::Cancel(DialogKind::Print));
    trigger("mnuFilePrint");
    EXPECT_FALSE(QFile::exists(last));
}

}  // namespace
}  // namespace tamix
