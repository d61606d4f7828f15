#pragma once

#include <QString>
#include <cstdint>

namespace tamix {

// Where a search looks.
enum class SearchScope : std::uint8_t { CurrentDocument = 0, CurrentTree = 1, EntireDatabase = 2 };

// The find state that lives from start-up to exit, so the find dialog
// reopens with the last text, scope and options. Starts as start-up
// leaves it: nothing to find, the current document, no options, no
// position, and the dialog not confirmed.
struct FindOptions {
    QString SearchText;
    SearchScope Scope = SearchScope::CurrentDocument;
    bool SearchWholeWord = false;
    bool SearchMatchCase = false;
    // Character position from which the next search in the current note
    // starts; -1 for none.
    std::int16_t SearchPosition = -1;
    // The find dialog was not confirmed; a search runs only when false.
    bool SearchCancelled = true;
};

}  // namespace tamix
