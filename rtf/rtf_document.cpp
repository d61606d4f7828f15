#include "rtf/rtf_document.h"

namespace tamix::rtf {

void Paragraph::append(Run run) {
    if (run.isText()) {
        if (run.text().empty()) return;
        if (!runs.empty() && runs.back().isText() && runs.back().format == run.format) {
            std::get<0>(runs.back().content) += run.text();
            return;
        }
    }
    runs.push_back(std::move(run));
}

std::string RtfDocument::plainText() const {
    std::string out;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) out.push_back('\n');
        for (const Run& run : paragraphs[i].runs) {
            if (!run.isText()) continue;
            const std::string& text = run.text();
            std::size_t start = 0;
            // U+2028 (E2 80 A8) is a line break inside the paragraph.
            for (std::size_t pos = text.find("\xE2\x80\xA8"); pos != std::string::npos;
                 pos = text.find("\xE2\x80\xA8", start)) {
                out.append(text, start, pos - start);
                out.push_back('\n');
                start = pos + 3;
            }
            out.append(text, start, std::string::npos);
        }
    }
    return out;
}

void RtfDocument::removeProtection() {
    for (Paragraph& p : paragraphs) {
        p.markFormat.protect = false;
        for (Run& r : p.runs) r.format.protect = false;
    }
}

}  // namespace tamix::rtf
