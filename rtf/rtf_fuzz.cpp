// libFuzzer target: the reader must survive any input, and what it reads
// must come back unchanged through the writer.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

using tamix::rtf::RtfDocument;
using tamix::rtf::RtfReader;
using tamix::rtf::RtfWriter;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    RtfReader reader;
    const RtfDocument first = reader.read(input);
    const std::string written = RtfWriter::write(first);
    RtfReader again;
    const RtfDocument second = again.read(written);
    if (!(second == first)) {
        std::fprintf(stderr, "round trip changed the document; written:\n%s\n", written.c_str());
        std::abort();
    }
    for (const std::string& note : again.skipped()) {
        // Objects are written back as read, so the oddities inside them come back too.
        if (note.rfind("unknown destination", 0) == 0 || note.rfind("bad \\' escape", 0) == 0) continue;
        std::fprintf(stderr, "the writer's output needed repair: %s\n", note.c_str());
        std::abort();
    }
    if (RtfWriter::write(second) != written) {
        std::fprintf(stderr, "writing is not stable\n");
        std::abort();
    }
    return 0;
}
