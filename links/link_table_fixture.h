#pragma once

// For link tests: the link table's invariant against the editor's text.

#include "tree/link_table.h"

#include <QString>
#include <gtest/gtest.h>

namespace tamix {

// Success when every entry's characters LinkStart ... LinkEnd - 1 of `text`
// (the editor's Text()) are its LinkText and LinkEnd = LinkStart + its length.
inline ::testing::AssertionResult LinksMatchText(const LinkTable& links, const QString& text) {
    for (int i = 1; i <= links.Count(); ++i) {
        const LinkEntry& link = links[i];
        const qsizetype length = link.LinkText.size();
        if (link.LinkEnd != link.LinkStart + length)
            return ::testing::AssertionFailure() << "entry " << i << " \"" << link.LinkText.toStdString()
                                                 << "\" spans " << link.LinkStart << " ... " << link.LinkEnd;
        if (link.LinkStart < 0 || text.mid(link.LinkStart, length) != link.LinkText)
            return ::testing::AssertionFailure() << "entry " << i << " \"" << link.LinkText.toStdString()
                                                 << "\" stands on \"" << text.mid(link.LinkStart, length).toStdString()
                                                 << "\" at " << link.LinkStart;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace tamix
