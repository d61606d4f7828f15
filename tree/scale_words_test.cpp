#include "tree/scale_words.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

TEST(ScaleWords, TwoDigitPictureScalePairLosesExactly24Characters) {
    const std::string in = "{\\pict\\wmetafile8\\picw100\\picscalex50\\picscaley50 0100ff}";
    EXPECT_EQ(ScaleWords::Remove(in), "{\\pict\\wmetafile8\\picw100 0100ff}");
}

TEST(ScaleWords, SeveralPicturesLoseAllTheirScaleWords) {
    const std::string in =
        "a\\picscalex10\\picscaley20 x b\\picscalex99\\picscaley98 y c\\picscalex12\\picscaley34";
    EXPECT_EQ(ScaleWords::Remove(in), "a x b y c");
}

TEST(ScaleWords, ObjectScaleWordsGoBeforePictureScaleWords) {
    // Removing the object words first joins "\picsc" + "alex11..." into a
    // picture scale word, which the second pass then removes.
    const std::string in = "\\picsc\\objscalex25\\objscaley25alex11\\picscaley11 d";
    EXPECT_EQ(ScaleWords::Remove(in), " d");
}

TEST(ScaleWords, ThreeDigitValuesLoseExactlyTheWordsAndNoPictureData) {
    const std::string in = "{\\pict\\picscalex100\\picscaley100 89504e47}";
    EXPECT_EQ(ScaleWords::Remove(in), "{\\pict89504e47}");
}

TEST(ScaleWords, OneDigitValuesLeaveNoDigitsBehind) {
    const std::string in = "{\\pict\\picscalex5\\picscaley7\\pngblip 89}";
    EXPECT_EQ(ScaleWords::Remove(in), "{\\pict\\pngblip 89}");
}

TEST(ScaleWords, MixedDigitCountsAreTakenWordByWord) {
    const std::string in = "\\objscalex50\\objscaley100 data";
    EXPECT_EQ(ScaleWords::Remove(in), "data");
}

TEST(ScaleWords, ShortTailAtTheEndIsRemovedWithoutOverrun) {
    EXPECT_EQ(ScaleWords::Remove("x\\picscalex50"), "x");
    EXPECT_EQ(ScaleWords::Remove("x\\picscalex50\\picscaley"), "x\\picscaley");
}

TEST(ScaleWords, WordWithoutANumberIsNotAScaleWordAndStays) {
    const std::string in = "\\picscalex \\picscalexyz \\picscalex-";
    EXPECT_EQ(ScaleWords::Remove(in), in);
}

TEST(ScaleWords, NegativeValueIsPartOfTheWord) {
    EXPECT_EQ(ScaleWords::Remove("a\\picscalex-5 b"), "ab");
}

TEST(ScaleWords, CaseMattersAndOtherTextIsUntouched) {
    const std::string in = "{\\rtf1 \\PICSCALEX50\\PICSCALEY50 plain text}";
    EXPECT_EQ(ScaleWords::Remove(in), in);
}

}  // namespace
}  // namespace tamix
