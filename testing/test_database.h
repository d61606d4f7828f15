#pragma once

#include <QString>
#include <string>
#include <vector>

namespace tamix {

// For tests: writing a database of given notes and reading a body back.
class TestDatabase {
public:
    struct Note {
        int key;
        int parent;
        const char* name;
        // The stored body; nullptr stores rtfOf(name).
        const char* body = nullptr;
    };

    struct Link {
        int start;  // in the note's text as the editor counts it
        const char* text;
        const char* target;
    };

    // Writes a new database at `path` with `notes`, in this storage order.
    static void write(const QString& path, const std::vector<Note>& notes);
    // Gives note `key` of the closed file at `path` the table `links` (the
    // body must show them protected for the editor to treat them as links).
    static void setLinks(const QString& path, int key, const std::vector<Link>& links);
    // The stored body of note `key` in the closed file at `path`;
    // "<missing>" when it has no record.
    static std::string storedBody(const QString& path, int key);
    // A one-paragraph RTF body holding `text` in Arial 10.
    static std::string rtfOf(const char* text);
};

}  // namespace tamix
