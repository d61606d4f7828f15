#include "tree/link_table.h"

#include "storage/c_node.h"

namespace tamix {

int LinkTable::Add(const LinkEntry& entry) {
    if (Full()) return 0;
    entries_.push_back(entry);
    return Count();
}

void LinkTable::Remove(int i) {
    if (i >= 1 && i <= Count()) entries_.erase(entries_.begin() + (i - 1));
}

void LinkTable::Load(cNode& node) {
    entries_.clear();
    const std::int32_t count = node.LinkCount();
    entries_.reserve(static_cast<std::size_t>(std::max(0, count)));
    for (std::int32_t i = 1; i <= count; ++i)
        entries_.push_back({node.LinkStart(i), node.LinkEnd(i), QString::fromStdString(node.LinkText(i)),
                            QString::fromStdString(node.LinkLink(i))});
}

void LinkTable::Save(cNode& node) const {
    node.LinkCount(Count());
    for (int i = 1; i <= Count(); ++i) {
        const LinkEntry& e = (*this)[i];
        node.LinkStart(i, e.LinkStart);
        node.LinkEnd(i, e.LinkEnd);
        node.LinkText(i, e.LinkText.toStdString());
        node.LinkLink(i, e.LinkLink.toStdString());
    }
}

}  // namespace tamix
