#include "testing/test_database.h"

#include "storage/c_node.h"
#include "storage/node_key.h"

#include <QFile>

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
