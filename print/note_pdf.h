#pragma once

#include "print/page_margins.h"

#include <QString>
#include <string>

class QPageSize;

namespace tamix {

// A note's body written as a PDF file, cut into pages by the engine the
// preview and the printer use. Needs a QGuiApplication.
class NotePdf {
public:
    // Loads the stored body `rtf` as the editor loads a note (picture and
    // object scale words removed) and writes its pages on sheets of `size`
    // to `path`. Answers the number of pages; an empty body gives one blank
    // page. Throws TamixError when the file cannot be written.
    static int write(const std::string& rtf, const QString& path, const QPageSize& size,
                     const PageMargins& margins = {});
};

}  // namespace tamix
