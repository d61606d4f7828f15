#include "storage/c_temp_tree.h"

#include "storage/tamix_error.h"

#include <algorithm>

namespace tamix {

cTempTree::cTempTree() : entries_(1) {}

const cTempTree::Entry& cTempTree::entry(std::int32_t index) const {
    if (index < 0 || index > count_)
        throw TamixError(kErrOutOfRange, "Entry " + std::to_string(index) + " is outside the node table (0 to " +
                                             std::to_string(count_) + ")");
    return entries_[index];
}

void cTempTree::index() {
    if (indexed_) return;
    byKey_.clear();
    byParent_.clear();
    for (std::int32_t i = 1; i <= count_; ++i) {
        byKey_[entries_[i].key].push_back(i);
        byParent_[entries_[i].parent].push_back(i);
    }
    indexed_ = true;
}

void cTempTree::add(Index& index, const std::string& value, std::int32_t i) {
    std::vector<std::int32_t>& v = index[value];
    if (v.empty() || v.back() < i)
        v.push_back(i);
    else
        v.insert(std::lower_bound(v.begin(), v.end(), i), i);
}

void cTempTree::drop(Index& index, const std::string& value, std::int32_t i) {
    const auto it = index.find(value);
    if (it == index.end()) return;
    std::vector<std::int32_t>& v = it->second;
    if (!v.empty() && v.back() == i)
        v.pop_back();
    else if (const auto at = std::lower_bound(v.begin(), v.end(), i); at != v.end() && *at == i)
        v.erase(at);
    if (v.empty()) index.erase(it);
}

const std::string& cTempTree::Key() const { return entry().key; }
const std::string& cTempTree::Parent() const { return entry().parent; }
const std::string& cTempTree::NodeText() const { return entry().text; }

void cTempTree::Key(std::string_view key) {
    entry();
    Entry& e = entries_[current_];
    const bool indexed = indexed_ && current_ > 0;
    if (indexed) drop(byKey_, e.key, current_);
    e.key.assign(key);
    if (indexed) add(byKey_, e.key, current_);
}

void cTempTree::Parent(std::string_view parent) {
    entry();
    Entry& e = entries_[current_];
    const bool indexed = indexed_ && current_ > 0;
    if (indexed) drop(byParent_, e.parent, current_);
    e.parent.assign(parent);
    if (indexed) add(byParent_, e.parent, current_);
}

void cTempTree::NodeText(std::string_view text) {
    entry();
    entries_[current_].text.assign(text);
}

void cTempTree::Init() {
    entries_.assign(1, Entry{});
    count_ = 0;
    byKey_.clear();
    byParent_.clear();
    indexed_ = false;
}

void cTempTree::AddNode() {
    entries_.emplace_back();
    current_ = ++count_;
    if (indexed_) {
        add(byKey_, {}, current_);
        add(byParent_, {}, current_);
    }
}

bool cTempTree::found(std::int32_t i) {
    if (i <= 0) return false;
    current_ = i;
    return true;
}

bool cTempTree::FindFirstParent(std::string_view parent) {
    index();
    const auto it = byParent_.find(std::string(parent));
    return found(it == byParent_.end() ? 0 : it->second.front());
}

bool cTempTree::FindNextParent(std::string_view parent) {
    index();
    const auto it = byParent_.find(std::string(parent));
    if (it == byParent_.end()) return false;
    const auto& v = it->second;
    const auto next = std::upper_bound(v.begin(), v.end(), current_);
    return found(next == v.end() ? 0 : *next);
}

bool cTempTree::FindKey(std::string_view key) {
    index();
    const auto it = byKey_.find(std::string(key));
    return found(it == byKey_.end() ? 0 : it->second.front());
}

bool cTempTree::FindLastParent(std::string_view parent) {
    index();
    const auto it = byParent_.find(std::string(parent));
    return found(it == byParent_.end() ? 0 : it->second.back());
}

bool cTempTree::FindPreviousParent(std::string_view parent) {
    index();
    const auto it = byParent_.find(std::string(parent));
    if (it == byParent_.end()) return false;
    const auto& v = it->second;
    const auto at = std::lower_bound(v.begin(), v.end(), current_);
    return found(at == v.begin() ? 0 : *(at - 1));
}

}  // namespace tamix
