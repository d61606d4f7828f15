#include "links/link_check.h"

#include "rtf/editor_text.h"
#include "storage/c_node.h"

namespace tamix::links {
namespace {

// A text in double quotes, on one line.
QString quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\v': out += QStringLiteral("\\v"); break;
        default:
            if (c.unicode() < 0x20 || c == QChar::ObjectReplacementCharacter)
                out += QStringLiteral("\\u") + QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

}  // namespace

std::vector<LinkCheck::Finding> LinkCheck::check(const QString& text, const std::vector<Entry>& entries) {
    std::vector<Finding> findings;
    const qint64 size = text.size();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const int index = static_cast<int>(i) + 1;
        // 64 bits: stored positions go up to 2^31 - 1.
        const qint64 start = e.start, end = e.end, length = e.text.size();
        if (index > kMaxLinks) {
            findings.push_back({index, Problem::TooMany, QStringLiteral("at most %1 links").arg(kMaxLinks),
                                QStringLiteral("link %1 of %2").arg(index).arg(entries.size())});
        } else if (end != start + length) {
            findings.push_back({index, Problem::End, QStringLiteral("end %1").arg(start + length),
                                QStringLiteral("end %1").arg(end)});
        } else if (start < 0 || end > size) {
            findings.push_back({index, Problem::Range,
                                QStringLiteral("%1 to %2 inside the text").arg(start).arg(end),
                                QStringLiteral("the text ends at %1").arg(size)});
        } else if (const QString there = text.mid(start, length); there != e.text) {
            findings.push_back({index, Problem::Text, quoted(e.text), quoted(there)});
        }
    }
    return findings;
}

std::vector<LinkCheck::Finding> LinkCheck::checkBody(std::string_view rtf, const std::vector<Entry>& entries) {
    return check(rtf::EditorText::fromRtf(rtf), entries);
}

std::vector<LinkCheck::Entry> LinkCheck::entries(cNode& node) {
    std::vector<Entry> table;
    const std::int32_t count = node.LinkCount();
    table.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 1; i <= count; ++i) {
        table.push_back({node.LinkStart(i), node.LinkEnd(i), QString::fromStdString(node.LinkText(i)),
                         QString::fromStdString(node.LinkLink(i))});
    }
    return table;
}

}  // namespace tamix::links
