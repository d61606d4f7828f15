#include "tools/link_commands.h"
#include "tools/tool_arguments.h"

#include "links/link_check.h"
#include "storage/c_node.h"
#include "storage/code_page_1252.h"
#include "storage/tamix_error.h"

#include <QGuiApplication>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>

namespace tamix::tool {
namespace {

using links::LinkCheck;

// A note is a record with the key that is not marked deleted.
void findNoteOrRefuse(cNode& node, const std::string& key) {
    if (!node.FindKey(key) || node.Deleted()) throw TamixError(kErrInvalidCall, "No note has the key " + key);
}

struct Link {
    std::int32_t start = 0, end = 0;
    std::string text, target;  // UTF-8 that Windows-1252 can hold
};

// The parts of `text` between separators; one part for text without any.
std::vector<std::string_view> fields(std::string_view text, char separator) {
    std::vector<std::string_view> out;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        out.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return out;
        from = at + 1;
    }
}

// A stored position: a decimal number 0 to 2^31 - 1, nothing else.
std::int32_t position(std::string_view field, std::size_t entry) {
    std::int32_t value = -1;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || value < 0)
        throw UsageError("link " + std::to_string(entry) + ": '" + std::string(field) +
                         "' is not a position (0 to 2147483647)");
    return value;
}

// ENTRIES: "start|end|text|target" entries joined by ';', or empty for none.
// Refuses a malformed entry and a text the database cannot hold.
std::vector<Link> parseEntries(const std::string& entries) {
    std::vector<Link> links;
    if (entries.empty()) return links;
    for (std::string_view entry : fields(entries, ';')) {
        const std::size_t n = links.size() + 1;
        const std::vector<std::string_view> f = fields(entry, '|');
        if (f.size() != 4)
            throw UsageError("link " + std::to_string(n) + ": '" + std::string(entry) +
                             "' is not start|end|text|target");
        Link link{position(f[0], n), position(f[1], n), std::string(f[2]), std::string(f[3])};
        CodePage1252::fromUtf8(link.text);
        CodePage1252::fromUtf8(link.target);
        links.push_back(std::move(link));
    }
    return links;
}

void printTable(cNode& node) {
    const std::string key = node.Key();
    const std::int32_t count = node.LinkCount();
    for (std::int32_t i = 1; i <= count; ++i) {
        std::cout << key << '\t' << i << '\t' << node.LinkStart(i) << '\t' << node.LinkEnd(i) << '\t'
                  << node.LinkText(i) << '\t' << node.LinkLink(i) << '\n';
    }
}

}  // namespace

int listLinks(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 1, 2);
    cNode node;
    ToolArguments::open(node, args[0]);
    if (args.size() == 2) {
        findNoteOrRefuse(node, args[1]);
        printTable(node);
        return kExitOk;
    }
    for (node.MoveFirst(); !node.AtEOF(); node.MoveNext()) {
        if (!node.Deleted()) printTable(node);
    }
    return kExitOk;
}

int setLinks(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 3, 3);
    const std::vector<Link> table = parseEntries(args[2]);
    if (table.size() > static_cast<std::size_t>(LinkCheck::kMaxLinks))
        throw TamixError(kErrInvalidCall, "A note holds at most " + std::to_string(LinkCheck::kMaxLinks) +
                                              " links, not " + std::to_string(table.size()));
    cNode node;
    ToolArguments::open(node, args[0]);
    findNoteOrRefuse(node, args[1]);
    node.LinkCount(static_cast<std::int32_t>(table.size()));
    for (std::int32_t i = 1; i <= static_cast<std::int32_t>(table.size()); ++i) {
        const Link& link = table[static_cast<std::size_t>(i - 1)];
        node.LinkStart(i, link.start);
        node.LinkEnd(i, link.end);
        node.LinkText(i, link.text);
        node.LinkLink(i, link.target);
    }
    node.SaveNode();
    return kExitOk;
}

int checkLinks(const std::vector<std::string>& args) {
    ToolArguments::expect(args, 1, 1);
    cNode node;
    ToolArguments::open(node, args[0]);
    // The editor's text comes from a QTextDocument, which needs a GUI
    // application; nothing is shown.
    std::optional<QGuiApplication> app;
    int argc = 3;
    char name[] = "tamix-tool", platform[] = "-platform", offscreen[] = "offscreen";
    char* argv[] = {name, platform, offscreen, nullptr};
    if (!QGuiApplication::instance()) app.emplace(argc, argv);

    long notes = 0, entryCount = 0, bad = 0;
    std::string report;
    for (node.MoveFirst(); !node.AtEOF(); node.MoveNext()) {
        if (node.Deleted() || node.LinkCount() == 0) continue;
        const std::vector<LinkCheck::Entry> entries = LinkCheck::entries(node);
        ++notes;
        entryCount += static_cast<long>(entries.size());
        const std::string key = node.Key();
        for (const LinkCheck::Finding& f : LinkCheck::checkBody(node.RTFData(), entries)) {
            ++bad;
            report += key + '\t' + std::to_string(f.index) + '\t' + f.expected.toStdString() + '\t' +
                      f.found.toStdString() + '\n';
        }
    }
    std::cout << "notes=" << notes << " links=" << entryCount << " bad=" << bad << '\n' << report;
    return bad > 0 ? kExitDamage : kExitOk;
}

}  // namespace tamix::tool
