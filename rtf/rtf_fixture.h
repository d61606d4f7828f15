#pragma once

// Shared by the rtf tests: the Qt application that QTextDocument needs, and
// whole-file reads for the corpus tests.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <QGuiApplication>

#include <gtest/gtest.h>

namespace tamix::rtf::test {

// Base of tests that build QTextDocuments: the application exists before
// the suite's first test.
class GuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QGuiApplication::instance()) return;
        static int argc = 1;
        static char name[] = "rtf_test";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }
};

inline std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace tamix::rtf::test
