#include "testing/test_database.h"

#include "storage/c_node.h"
#include "storage/node_key.h"

#include <QFile>
#include <string_view>

namespace tamix {

void TestDatabase::write(const QString& path, const std::vector<Note>& notes) {
    cNode node;
    node.CreateFile(QFile::encodeName(path).toStdString());
    node.Barriers(false);
    for (const Note& n : notes) {
        node.ClearNode();
        node.Key(NodeKey::Format(n.key));
        node.Parent(NodeKey::Format(n.parent));
        node.NodeText(n.name);
        node.SaveNewNode();
        node.RTFData(n.body ? std::string(n.body) : rtfOf(n.name));
        node.SaveNode();
    }
    node.CloseFile();
}

void TestDatabase::setLinks(const QString& path, int key, const std::vector<Link>& links) {
    cNode node;
    node.OpenFile(QFile::encodeName(path).toStdString());
    node.FindKey(NodeKey::Format(key));
    node.LinkCount(static_cast<int>(links.size()));
    for (int i = 1; i <= static_cast<int>(links.size()); ++i) {
        const Link& link = links[static_cast<std::size_t>(i - 1)];
        node.LinkStart(i, link.start);
        node.LinkEnd(i, link.start + static_cast<int>(std::string_view(link.text).size()));
        node.LinkText(i, link.text);
        node.LinkLink(i, link.target);
    }
    node.SaveNode();
    node.CloseFile();
}

std::string TestDatabase::storedBody(const QString& path, int key) {
    cNode node;
    node.OpenFile(QFile::encodeName(path).toStdString());
    const std::string body = node.FindKey(NodeKey::Format(key)) ? node.RTFData() : "<missing>";
    node.CloseFile();
    return body;
}

std::string TestDatabase::rtfOf(const char* text) {
    return std::string("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ") + text + "\\par}";
}

}  // namespace tamix
