#include "tree/scale_words.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

TEST(ScaleWords, RemovesExactlyTheScaleWordsAndNothingElse) {
    const struct {
        const char* why;
        const char* in;
        const char* out;  // nullptr: unchanged
    } cases[] = {
        {"two-digit picture pair", "{\\pict\\wmetafile8\\picw100\\picscalex50\\picscaley50 0100ff}",
         "{\\pict\\wmetafile8\\picw100 0100ff}"},
        {"several pictures", "a\\picscalex10\\picscaley20 x b\\picscalex99\\picscaley98 y c\\picscalex12\\picscaley34",
         "a x b y c"},
        // Removing the object words first joins "\picsc" + "alex11..." into a
        // picture scale word, which the second pass then removes.
        {"object words go first", "\\picsc\\objscalex25\\objscaley25alex11\\picscaley11 d", " d"},
        {"three digits, no picture data", "{\\pict\\picscalex100\\picscaley100 89504e47}", "{\\pict89504e47}"},
        {"one digit leaves no digits", "{\\pict\\picscalex5\\picscaley7\\pngblip 89}", "{\\pict\\pngblip 89}"},
        {"mixed digit counts", "\\objscalex50\\objscaley100 data", "data"},
        {"short tail at the end", "x\\picscalex50", "x"},
        {"incomplete word at the end", "x\\picscalex50\\picscaley", "x\\picscaley"},
        {"a word without a number stays", "\\picscalex \\picscalexyz \\picscalex-", nullptr},
        {"a negative value is part of the word", "a\\picscalex-5 b", "ab"},
        {"case matters", "{\\rtf1 \\PICSCALEX50\\PICSCALEY50 plain text}", nullptr},
    };
    for (const auto& c : cases) EXPECT_EQ(ScaleWords::Remove(c.in), c.out ? c.out : c.in) << c.why;
}

}  // namespace
}  // namespace tamix
