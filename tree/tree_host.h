#pragma once

#include <QString>
#include <functional>

namespace tamix {

// What the tree manager needs of the main window that holds the tree and
// the editor. Implemented by the main window; fakes implement it in tests.
class TreeHost {
public:
    virtual ~TreeHost() = default;

    // Enables the commands by whether a database is open.
    virtual void UpdateCommandState() = 0;
    // Refreshes the format buttons and editing commands from the editor.
    virtual void RefreshFormatState() = 0;
    // The shared error report: normal pointer, then a message box with the
    // description and the critical icon.
    virtual void ShowError(const QString& description) = 0;
    // Long work: true disables the main window and shows the hourglass,
    // false undoes one such call. Calls nest.
    virtual void SetBusy(bool busy) = 0;
    // The recent-file list changed: refresh its menu items.
    virtual void RecentFilesChanged() = 0;
    // After an open: the tree has the keyboard focus, is the tab stop, and
    // the editor is not active.
    virtual void FocusTree() = 0;
    // Unloads the main window, which ends the program.
    virtual void UnloadMainWindow() = 0;
};

// Keeps the main window disabled with the hourglass for its lifetime; the
// window comes back however the work ends.
class BusyScope {
public:
    explicit BusyScope(TreeHost& host) : host_(host) { host_.SetBusy(true); }
    ~BusyScope() { host_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TreeHost& host_;
};

// Runs a command at its boundary: the cancel error ends it silently, any
// other error goes to the host's error report.
void RunCommand(TreeHost& host, const std::function<void()>& command);

}  // namespace tamix
