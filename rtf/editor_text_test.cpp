#include "rtf/editor_text.h"

#include <gtest/gtest.h>

#include "rtf/rtf_fixture.h"

namespace tamix::rtf {
namespace {

using EditorTextTest = test::GuiTest;

// Pictures, objects and Unicode escapes: links/link_check_test.cpp.
TEST_F(EditorTextTest, BodiesReadAsTheEditorCountsThem) {
    const struct {
        const char* rtf;
        QString text;
    } cases[] = {
        // As written on Windows: "\r\n" after each \par in the source, a
        // final \par that ends the last paragraph without adding one.
        {"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
         "\\viewkind4\\uc1\\pard\\f0\\fs20 First\\par\r\nSecond\\tab x\\line y\\par\r\n\\par\r\nLink\\par\r\n}\r\n",
         "First\r\nSecond\tx\vy\r\n\r\nLink"},
        {"", ""},
        {"{\\rtf1 cut off\\par", "cut off"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EditorText::fromRtf(c.rtf), c.text) << c.rtf;
    }
}

}  // namespace
}  // namespace tamix::rtf
