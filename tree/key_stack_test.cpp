#include "tree/key_stack.h"
#include "storage/tamix_error.h"

#include <gtest/gtest.h>

namespace tamix {
namespace {

TEST(KeyStack, PopsInReverseOrderOfPushing) {
    KeyStack stack;
    for (const char* key : {"k0000000001", "k0000000002", "k0000000003"}) stack.PushKey(key);
    EXPECT_EQ(stack.Count(), 3);
    EXPECT_EQ(stack.PopKey(), "k0000000003");
    EXPECT_EQ(stack.PopKey(), "k0000000002");
    stack.PushKey("k0000000009");
    EXPECT_EQ(stack.PopKey(), "k0000000009");
    EXPECT_EQ(stack.PopKey(), "k0000000001");
    EXPECT_TRUE(stack.Empty());
    EXPECT_THROW(stack.PopKey(), TamixError);
    EXPECT_EQ(stack.Count(), 0);
    stack.PushKey("a");
    stack.Clear();
    EXPECT_THROW(stack.PopKey(), TamixError);
}

TEST(KeyStack, HoldsExactly2000AndRefusesTheNext) {
    KeyStack stack;
    for (int i = 0; i < 2000; ++i) stack.PushKey(QString::number(i));
    try {
        stack.PushKey("one too many");
        FAIL() << "stack grew past its bound";
    } catch (const TamixError& e) {
        EXPECT_EQ(e.number(), kErrOutOfRange);
    }
    EXPECT_EQ(stack.Count(), 2000);
    EXPECT_EQ(stack.PopKey(), "1999");
}

}  // namespace
}  // namespace tamix
