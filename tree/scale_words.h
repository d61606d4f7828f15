#pragma once

#include <string>

namespace tamix {

// Prepares a stored note body for showing: removes the picture and object
// scale control words, which would otherwise shrink or stretch pictures the
// editor shows at their goal size.
class ScaleWords {
public:
    // Removes every "\objscalex" occurrence, then every "\picscalex" one,
    // each with its partner ("\objscaley", "\picscaley") when that follows
    // at once. Where the pair has two-digit values ("\picscalex50\picscaley50")
    // exactly those 24 characters go; otherwise exactly the words with their
    // numbers and their delimiting space go, so no picture data is altered.
    // An occurrence without a number is not a scale word and stays.
    static std::string Remove(std::string rtf);

private:
    static void removeAll(std::string& rtf, const std::string& xWord, const std::string& yWord);
    // Length of the control word `word` + optional '-' + digits + optional
    // space at `at`; 0 when no digits follow the word there.
    static std::size_t wordLength(const std::string& rtf, std::size_t at, const std::string& word,
                                  std::size_t* digits = nullptr);
};

}  // namespace tamix
