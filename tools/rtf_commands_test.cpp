#include "tools/rtf_commands.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <gtest/gtest.h>

#include "rtf/rtf_reader.h"
#include "storage/tamix_error.h"

namespace tamix::tool {
namespace {

// Runs a command with std::cout and std::cerr captured.
struct Captured {
    int exitCode = -1;
    std::string out, err;
};

Captured run(int (*command)(const std::vector<std::string>&), const std::vector<std::string>& args) {
    std::ostringstream out, err;
    struct Redirect {  // puts the streams back however the command ends
        std::ostream& stream;
        std::streambuf* old;
        ~Redirect() { stream.rdbuf(old); }
    } toOut{std::cout, std::cout.rdbuf(out.rdbuf())}, toErr{std::cerr, std::cerr.rdbuf(err.rdbuf())};
    const int exitCode = command(args);
    return {exitCode, out.str(), err.str()};
}

class RtfCommands : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() /
                ("tamix-rtf-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".rtf");
    }
    void TearDown() override { std::filesystem::remove(path_); }
    void write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }
    std::filesystem::path path_;
};

TEST_F(RtfCommands, TextPrintsOneLinePerParagraphAndReportsWhatWasSkipped) {
    write(R"({\rtf1\ansi caf\'e9\par {\b second}\line half\par third})");
    Captured c = run(rtfToText, {path_.string()});
    EXPECT_EQ(c.exitCode, kExitOk);
    EXPECT_EQ(c.out, "caf\xC3\xA9\nsecond\nhalf\nthird\n");
    EXPECT_EQ(c.err, "");

    write(R"({\rtf1 cut {\b short)");
    c = run(rtfToText, {path_.string()});
    EXPECT_EQ(c.exitCode, kExitOk);
    EXPECT_EQ(c.out, "cut short\n");
    EXPECT_NE(c.err.find("skipped: the input ends inside 2 open group(s)"), std::string::npos) << c.err;
}

TEST_F(RtfCommands, NormalizeWritesWhatReadsBackTheSame) {
    const std::string source = R"({\rtf1{\fonttbl{\f0\fswiss Arial;}}\f0\fs20\qc centred {\i it}\par})";
    write(source);
    const Captured c = run(rtfNormalize, {path_.string()});
    EXPECT_EQ(c.exitCode, kExitOk);
    ASSERT_EQ(c.out.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0", 0), 0u) << c.out;
    rtf::RtfReader reader;
    EXPECT_EQ(reader.read(c.out), reader.read(source));
}

TEST_F(RtfCommands, AMissingFileIsAnErrorAndAWrongArgumentCountAUsageError) {
    EXPECT_THROW(run(rtfToText, {(path_.string() + ".absent")}), TamixError);
    EXPECT_THROW(run(rtfNormalize, {}), UsageError);
    EXPECT_THROW(run(rtfToText, {"a", "b"}), UsageError);
}

}  // namespace
}  // namespace tamix::tool
