#include "rtf/rtf_reader.h"

#include "rtf/read_session.h"

namespace tamix::rtf {

RtfDocument RtfReader::read(std::string_view rtf) {
    skipped_.clear();
    ReadSession session(rtf, skipped_);
    return session.run();
}

}  // namespace tamix::rtf
