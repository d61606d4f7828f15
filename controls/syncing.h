#pragma once

namespace tamix::controls {

// Counts a running rearrangement of Qt items by the tree view itself, so that
// the view ignores the selection and expansion signals Qt raises meanwhile.
class Syncing {
public:
    explicit Syncing(int& counter) : counter_(counter) { ++counter_; }
    ~Syncing() { --counter_; }
    Syncing(const Syncing&) = delete;
    Syncing& operator=(const Syncing&) = delete;

private:
    int& counter_;  // TreeView::syncing_
};

}  // namespace tamix::controls
