#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace tamix {

class CommandTable;
class LinkHandler;
class UserDialogs;
struct AppOptions;
namespace controls {
class RichTextBox;
}

// Edit > Insert Date / Time: replaces the selection with the current date,
// time, or both (date, " @ ", time), written with the Date Format and Time
// Format options. Over a link it beeps and inserts nothing. The
// replacement is an ordinary edit, handled by the editor's change handling
// like typing.
class DateTimeInsert {
public:
    // The moment to write; the system clock when empty.
    using Clock = std::function<QDateTime()>;

    DateTimeInsert(controls::RichTextBox& editor, LinkHandler& links, const AppOptions& options,
                   UserDialogs& dialogs, Clock clock = {});

    // Binds mnuInsertDate, mnuInsertTime and mnuInsertDateTime, enabled by
    // `enabled`.
    void Bind(CommandTable& table, const std::function<bool()>& enabled);

    void InsertDate();
    void InsertTime();
    void InsertDateTime();

private:
    // Replaces the selection with the clock's moment written by each of
    // `patterns`, joined by " @ ".
    void insert(const QStringList& patterns);

    controls::RichTextBox& editor_;
    LinkHandler& links_;
    const AppOptions& options_;
    UserDialogs& dialogs_;
    Clock clock_;
};

}  // namespace tamix
