#pragma once

// For link tests: the link table's invariant against the editor's text,
// checked by the same link check `tamix-tool linkcheck` runs.

#include "links/link_check.h"
#include "tree/link_table.h"

#include <QString>
#include <gtest/gtest.h>

namespace tamix {

// Success when every entry's characters LinkStart ... LinkEnd - 1 of `text`
// (the editor's Text()) are its LinkText and LinkEnd = LinkStart + its length.
inline ::testing::AssertionResult LinksMatchText(const LinkTable& links, const QString& text) {
    std::vector<links::LinkCheck::Entry> entries;
    for (const LinkEntry& e : links.entries()) entries.push_back({e.LinkStart, e.LinkEnd, e.LinkText, e.LinkLink});
    const auto bad = links::LinkCheck::check(text, entries);
    if (bad.empty()) return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    for (const auto& f : bad)
        failure << "link " << f.index << ": expected " << f.expected.toStdString() << ", found "
                << f.found.toStdString() << "; ";
    return failure;
}

}  // namespace tamix
