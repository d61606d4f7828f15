#include "print/note_pdf.h"

#include "print/page_engine.h"
#include "rtf/text_document_adapter.h"
#include "storage/tamix_error.h"
#include "tree/scale_words.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <climits>
#include <cmath>

namespace tamix {

int NotePdf::write(const std::string& rtf, const QString& path, const QPageSize& size, const PageMargins& margins) {
    QTextDocument document;
    rtf::TextDocumentAdapter::loadRtf(ScaleWords::Remove(rtf), document);
    QPdfWriter writer(path);
    writer.setCreator(QStringLiteral("Tamix"));
    writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    const QSizeF points = size.size(QPageSize::Point);
    const QSize twips(static_cast<int>(std::lround(points.width() * 20)),
                      static_cast<int>(std::lround(points.height() * 20)));
    PageEngine engine(document, margins);
    int pages = engine.printPages(writer, twips, 1, INT_MAX);
    if (pages == 0 && engine.range().textLength() == 0) {
        QPainter blank;
        if (blank.begin(&writer)) pages = 1;
    }
    if (pages == 0) throw TamixError(kErrBadFileName, "Cannot write " + path.toStdString());
    return pages;
}

}  // namespace tamix
