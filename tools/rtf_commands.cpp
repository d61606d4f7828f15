#include "tools/rtf_commands.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"
#include "storage/tamix_error.h"

namespace tamix::tool {

namespace {

std::string readInput(const std::vector<std::string>& args) {
    if (args.size() != 1) throw UsageError("expected one FILE");
    if (args[0] == "-") return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    std::ifstream in(args[0], std::ios::binary);
    if (!in) throw TamixError(kErrFileNotFound, "cannot open " + args[0]);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

rtf::RtfDocument readDocument(const std::vector<std::string>& args, const char* command) {
    const std::string input = readInput(args);
    rtf::RtfReader reader;
    rtf::RtfDocument document = reader.read(input);
    for (const std::string& skipped : reader.skipped()) {
        std::cerr << "tamix-tool " << command << ": skipped: " << skipped << "\n";
    }
    return document;
}

}  // namespace

int rtfToText(const std::vector<std::string>& args) {
    const rtf::RtfDocument document = readDocument(args, "rtf2text");
    const std::string text = document.plainText();
    std::cout << text;
    if (!document.paragraphs.empty()) std::cout << '\n';
    return kExitOk;
}

int rtfNormalize(const std::vector<std::string>& args) {
    std::cout << rtf::RtfWriter::write(readDocument(args, "rtf-normalize"));
    return kExitOk;
}

}  // namespace tamix::tool
