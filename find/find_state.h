#pragma once

#include <QString>

#include <cstdint>

namespace tamix {

// The find options and the progress of a search. One lives for the whole
// process, so the find dialog reopens with the last text, scope and options.
class FindState {
public:
    // SearchScope values.
    static constexpr std::uint8_t kScopeDocument = 0;
    static constexpr std::uint8_t kScopeTree = 1;
    static constexpr std::uint8_t kScopeDatabase = 2;

    // The text to find; shown again when the dialog reopens.
    QString SearchText;
    // kScopeDocument, kScopeTree or kScopeDatabase.
    std::uint8_t SearchScope = kScopeDocument;
    bool SearchWholeWord = false;
    bool SearchMatchCase = false;
    // Where in the editor's text the next search of the shown note starts;
    // -1 = none. 32 bits, so hits anywhere in a body are reached.
    std::int32_t SearchPosition = -1;
    // The find dialog was not confirmed; a search runs only when false.
    bool SearchCancelled = true;
    // True after "Find Next", false after "Cancel" or when the hit window
    // closes otherwise.
    bool SearchContinue = false;
    // The editor's Find options: 2 for whole word plus 4 for match case.
    std::uint8_t SearchFlags = 0;
};

}  // namespace tamix
