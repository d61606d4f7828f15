#pragma once

// For the editor's tests: a database whose note 2 carries links.

#include "storage/c_node.h"
#include "testing/test_database.h"

#include <QFile>
#include <string>
#include <vector>

namespace tamix {

struct TestLink {  // over the characters start ... start + text length of note 2
    int start;
    std::string text, target;
};

// Writes `file` with note 2 `name` holding `body` and `links`, and note 3 "Other".
inline void writeLinkedNote(const QString& file, const char* name, const char* body, const std::vector<TestLink>& links) {
    TestDatabase::write(file, {{2, 1, name, body}, {3, 1, "Other"}});
    cNode node;
    node.OpenFile(QFile::encodeName(file).toStdString());
    node.FindKey("k0000000002");
    node.LinkCount(static_cast<int>(links.size()));
    for (int i = 1; i <= node.LinkCount(); ++i) {
        const TestLink& link = links[static_cast<std::size_t>(i - 1)];
        node.LinkStart(i, link.start);
        node.LinkEnd(i, link.start + static_cast<int>(link.text.size()));
        node.LinkText(i, link.text);
        node.LinkLink(i, link.target);
    }
    node.SaveNode();
    node.CloseFile();
}

}  // namespace tamix
