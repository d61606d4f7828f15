#include "shell/main_commands.h"

#include "dialogs/command_table.h"

#include <QFile>
#include <gtest/gtest.h>

namespace tamix {
namespace {

// The user guide shipped in the program names every menu caption (without
// its "&") and every toolbar tool tip the command table declares, so a
// command added to the table without a word in the guide fails here.
TEST(MainCommands, TheUserGuideNamesEveryCaptionAndToolTip) {
    QFile guide(QStringLiteral(":/help/index.html"));
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(guide.readAll());
    CommandTable table;
    MainCommands::Declare(table, 4);
    for (const Command& c : table.commands()) {
        for (QString text : {c.caption, c.tip}) {
            text.remove(QLatin1Char('&'));
            if (!text.isEmpty())
                EXPECT_TRUE(html.contains(text.toHtmlEscaped())) << qPrintable(c.name) << ": " << qPrintable(text);
        }
    }
}

}  // namespace
}  // namespace tamix
