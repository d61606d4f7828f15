#pragma once

// For the window benchmarks: the large database they open, written once.

#include <QFile>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "storage/c_node.h"
#include "storage/node_key.h"

class LargeTree {
public:
    // A scrambled but repeatable label for note `number`.
    static std::string label(int number) {
        const std::uint32_t h = static_cast<std::uint32_t>(number) * 2654435761u;
        return "Note " + std::to_string(h % 1000003u);
    }

    // Writes `path` with notes 2 ... notes + 1: 1,000 at the top, each with
    // 99 notes under it; `body` (when given) gives each note's RTF.
    static void write(const QString& path, int notes, const std::function<std::string(int)>& body = {}) {
        tamix::cNode node;
        node.CreateFile(QFile::encodeName(path).toStdString());
        node.Barriers(false);
        for (int n = 2; n < notes + 2; ++n) {
            const int parent = n <= 1001 ? 1 : 2 + (n - 1002) / 99;
            node.ClearNode();
            node.Key(tamix::NodeKey::Format(n));
            node.Parent(tamix::NodeKey::Format(parent));
            node.NodeText(label(n));
            node.SaveNewNode();
            if (!body) continue;
            node.RTFData(body(n));
            node.SaveNode();
        }
        node.CloseFile();
    }
};
