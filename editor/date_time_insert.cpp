#include "editor/date_time_insert.h"

#include "controls/rich_text_box.h"
#include "dialogs/app_options.h"
#include "dialogs/command_table.h"
#include "dialogs/user_dialogs.h"
#include "links/link_handler.h"
#include "options/date_pattern.h"

namespace tamix {

DateTimeInsert::DateTimeInsert(controls::RichTextBox& editor, LinkHandler& links, const AppOptions& options,
                               UserDialogs& dialogs, Clock clock)
    : editor_(editor), links_(links), options_(options), dialogs_(dialogs), clock_(std::move(clock)) {}

void DateTimeInsert::Bind(CommandTable& table, const std::function<bool()>& enabled) {
    table.bind("mnuInsertDate", [this] { InsertDate(); }, enabled);
    table.bind("mnuInsertTime", [this] { InsertTime(); }, enabled);
    table.bind("mnuInsertDateTime", [this] { InsertDateTime(); }, enabled);
}

void DateTimeInsert::InsertDate() { insert({options_.DateFormat}); }

void DateTimeInsert::InsertTime() { insert({options_.TimeFormat}); }

void DateTimeInsert::InsertDateTime() { insert({options_.DateFormat, options_.TimeFormat}); }

void DateTimeInsert::insert(const QStringList& patterns) {
    if (links_.SelectionTouchesLink()) {
        dialogs_.beep();
        return;
    }
    // One moment for both parts, each written by its own pattern, so that a
    // token at the end of the date pattern never takes the time's minutes.
    const QDateTime now = clock_ ? clock_() : QDateTime::currentDateTime();
    QStringList parts;
    for (const QString& pattern : patterns) parts << DatePattern::Format(pattern, now);
    editor_.setSelText(parts.join(QStringLiteral(" @ ")));
}

}  // namespace tamix
