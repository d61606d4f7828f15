#include "links/link_opener.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tamix {
namespace {

TEST(LinkOpener, TargetsGoToANoteTheDesktopOrAreRefused) {
    QTemporaryDir dir;
    const auto make = [&](const char* name, bool executable) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        if (executable) f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return f.fileName();
    };
    const QString document = make("plan.txt", false);
    const QString script = make("run.sh", true);
    const QString launcher = make("app.desktop", false);
    using Kind = LinkOpener::Kind;
    const struct {
        QString link;
        Kind kind;
        QString url;  // the address handed to the desktop, or the note key
    } cases[] = {
        {"Note:k0000000042", Kind::Note, "k0000000042"},
        {"Note:" + QString(300, 'k'), Kind::Note, QString(255, 'k')},
        {"http://example.org/a?b=c", Kind::Address, "http://example.org/a?b=c"},
        {"mailto:someone@example.org", Kind::Address, "mailto:someone@example.org"},
        {"www.example.org", Kind::Address, "http://www.example.org"},
        {document, Kind::Address, QUrl::fromLocalFile(document).toString()},  // a path without a scheme
        {"file://" + document, Kind::Address, QUrl::fromLocalFile(document).toString()},
        {script, Kind::Refused, ""},
        {"file://" + script, Kind::Refused, ""},
        {launcher, Kind::Refused, ""},
        {"   ", Kind::Refused, ""},
    };
    for (const auto& c : cases) {
        const LinkOpener::Target t = LinkOpener::Classify(c.link);
        EXPECT_EQ(t.kind, c.kind) << c.link.toStdString();
        if (c.kind == Kind::Note) EXPECT_EQ(t.noteKey, c.url);
        if (c.kind == Kind::Address) EXPECT_EQ(t.url.toString(), c.url) << c.link.toStdString();
        if (c.kind == Kind::Refused) EXPECT_FALSE(t.refusal.isEmpty());
    }
    EXPECT_TRUE(LinkOpener::Classify(script).refusal.contains(script));
}

}  // namespace
}  // namespace tamix
