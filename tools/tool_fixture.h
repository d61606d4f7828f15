#pragma once

// For the tool's tests: a fresh folder with a new, empty database, and the
// built tamix-tool run the way a script runs it (arguments quoted for the
// shell, standard input given, output and errors captured).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tamix {

class ToolFixture : public ::testing::Test {
public:
    struct Result {
        int exit;
        std::string out, err;
    };

protected:
    const std::string root = "k0000000001";
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("tamix-tool-" + std::to_string(::getpid()) + "-" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string db = (dir / "Notes.TM2").string();

    void SetUp() override {
        if (!std::filesystem::exists(TAMIX_TOOL_PATH)) GTEST_SKIP() << "tamix-tool is not built";
        std::filesystem::create_directories(dir);
        ASSERT_EQ(run({"new", db}).exit, 0);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    static std::string quote(const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    }
    static std::string slurp(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    Result run(const std::vector<std::string>& args, const std::string& input = {}) {
        std::string command = quote(TAMIX_TOOL_PATH);
        for (const auto& a : args) command += " " + quote(a);
        const auto in = dir / "stdin", out = dir / "stdout", err = dir / "stderr";
        std::ofstream(in, std::ios::binary) << input;
        command += " <" + quote(in.string()) + " >" + quote(out.string()) + " 2>" + quote(err.string());
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
    }
    // Adds a note under `parent`, with `body` when one is given; answers its key.
    std::string add(const std::string& parent, const std::string& name, const std::string& body = {}) {
        std::vector<std::string> args{"add", db, parent, name};
        if (!body.empty()) {
            std::ofstream(path("body"), std::ios::binary) << body;
            args.push_back(path("body"));
        }
        const Result r = run(args);
        EXPECT_EQ(r.exit, 0) << r.err;
        return r.out.substr(0, r.out.find('\n'));
    }
};

}  // namespace tamix
