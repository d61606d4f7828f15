#include "storage/database_check.h"

#include "storage/c_chunks.h"
#include "storage/c_data_base.h"
#include "storage/node_record.h"
#include "storage/tamix_error.h"

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamix {
namespace {

constexpr std::int64_t kBlock = cDataBase::kBlockSize;
constexpr std::uint32_t kHeaderOwner = 0xFFFFFFFEu;
constexpr std::uint32_t kFreeOwner = 0xFFFFFFFDu;

class Checker {
public:
    Checker(int fd, std::int64_t blocks, bool records, DatabaseCheck::Report& report)
        : fd_(fd), blocks_(blocks), records_(records), r_(report), owner_(static_cast<std::size_t>(blocks) + 1, 0) {}

    void run();

private:
    const std::uint8_t* read(std::int64_t block) {
        const ssize_t n = pread(fd_, buf_, kBlock, (block - 1) * kBlock);
        if (n != kBlock)
            throw TamixError(kErrDeviceIo, "Cannot read block " + std::to_string(block) + ": " +
                                               (n < 0 ? std::strerror(errno) : "short read"));
        return buf_;
    }
    void problem(const std::string& text) { r_.problems.push_back(text); }
    // Decodes a link; records a problem and answers false when it cannot be followed.
    bool link(const std::uint8_t* image, int offset, std::int64_t block, const char* field, std::int64_t& out) {
        const std::uint8_t* p = image + offset;
        const std::string where = std::string("the ") + field + " in block " + std::to_string(block);
        if (p[3] >= 128) {
            problem(where + " has its top bit set");
            return false;
        }
        out = cChunks::BytesToLong(p);
        if (out == 1) {
            problem(where + " points into the header block");
            return false;
        }
        if (out > blocks_) {
            problem(where + " names block " + std::to_string(out) + ", past the end of the file");
            return false;
        }
        return true;
    }
    // Claims a block for an owner; a block claimed before is a problem.
    bool claim(std::int64_t block, std::uint32_t owner, const char* as) {
        if (owner_[block] != 0) {
            problem("block " + std::to_string(block) + " is claimed twice (again as " + as + ")");
            return false;
        }
        owner_[block] = owner;
        return true;
    }
    void walkChunks(std::int64_t first, std::int64_t last);
    void walkFree(std::int64_t head);

    int fd_;
    std::int64_t blocks_;
    bool records_;
    DatabaseCheck::Report& r_;
    std::vector<std::uint32_t> owner_;  // per block: 0 none, a chunk number, or a marker above
    std::uint8_t buf_[kBlock];
};

void Checker::run() {
    const std::uint8_t* h = read(1);
    owner_[1] = kHeaderOwner;
    r_.state = h[12];
    const bool empty = std::all_of(h, h + 12, [](std::uint8_t b) { return b == 0; });
    if (r_.state == 'A' || r_.state == 'O') {
        problem(std::string("the header is marked '") + static_cast<char>(r_.state) +
                "': a change was interrupted; the next open repairs it");
    } else if (!(r_.state == 'X' || (r_.state == 0 && empty))) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", r_.state);
        problem(std::string("not a Tamix database: the header's state byte is ") + hex);
        return;
    }
    std::int64_t first = 0, last = 0, freeHead = 0;
    // Each header link is checked, so that every bad one is reported.
    bool ok = link(h, 0, 1, "first-chunk link", first);
    ok = link(h, 4, 1, "last-chunk link", last) && ok;
    ok = link(h, 8, 1, "free head", freeHead) && ok;
    if (!ok) return;
    walkChunks(first, last);
    walkFree(freeHead);
    for (std::int64_t b = 2; b <= blocks_; ++b)
        if (owner_[b] == 0) ++r_.lost;
}

void Checker::walkChunks(std::int64_t first, std::int64_t last) {
    std::int64_t previous = 0;
    std::int64_t c = first;
    while (c != 0) {
        if (!claim(c, static_cast<std::uint32_t>(c), "a chunk head")) return;
        ++r_.chunks;
        const std::uint8_t* head = read(c);
        std::int64_t back = 0, next = 0, x = 0;
        if (link(head, 0, c, "previous-chunk link", back) && back != previous)
            problem("chunk " + std::to_string(c) + " links back to block " + std::to_string(back) + " instead of " +
                    std::to_string(previous));
        const bool nextOk = link(head, 4, c, "next-chunk link", next);
        const bool chainOk = link(head, 8, c, "continuation link", x);
        if (head[15] >= 128) {
            problem("the length in block " + std::to_string(c) + " has its top bit set");
        } else {
            const std::int64_t u = cChunks::BytesToLong(head + 12);
            const std::int64_t needed = cChunks::cBlocksFor(u);
            if (needed > blocks_ - 1) {
                problem("the chunk at block " + std::to_string(c) + " claims " + std::to_string(u + 1) +
                        " bytes, more than the file can hold");
            } else {
                Bytes data(head + 16, head + 16 + std::min<std::int64_t>(u, cChunks::kHeadData - 1) + 1);
                bool whole = true;
                for (std::int64_t i = 1; i < needed; ++i) {
                    if (!chainOk || x == 0 || !claim(x, static_cast<std::uint32_t>(c), "a continuation")) {
                        if (chainOk && x == 0)
                            problem("the chain of chunk " + std::to_string(c) + " ends before its length");
                        whole = false;
                        break;
                    }
                    const std::uint8_t* cont = read(x);
                    const std::int64_t take = std::min<std::int64_t>(cChunks::kContinuationData, u + 1 - static_cast<std::int64_t>(data.size()));
                    data.insert(data.end(), cont + 4, cont + 4 + take);
                    if (i + 1 < needed && !link(cont, 0, x, "continuation link", x)) {
                        whole = false;
                        break;
                    }
                }
                if (whole && records_) {
                    NodeRecord record;
                    try {
                        record.Parse(data, "the record at block " + std::to_string(c) + " cannot be parsed: ");
                    } catch (const TamixError& e) {
                        problem(e.what());
                    }
                }
            }
        }
        if (!nextOk) return;
        previous = c;
        c = next;
    }
    if (previous != last)
        problem("the header names chunk " + std::to_string(last) + " as the last, but the list ends at chunk " +
                std::to_string(previous));
}

void Checker::walkFree(std::int64_t head) {
    for (std::int64_t b = head; b != 0;) {
        if (!claim(b, kFreeOwner, "a free block")) return;
        ++r_.free;
        if (!link(read(b), 0, b, "free-list link", b)) return;
    }
}

}  // namespace

DatabaseCheck::Report DatabaseCheck::Run(const std::string& path, bool records) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw TamixError(errno == ENOENT ? kErrFileNotFound : kErrPermission,
                         "Cannot open " + path + ": " + std::strerror(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (flock(fd, LOCK_SH | LOCK_NB) != 0)
        throw cDataBase::dbInUseError(path);
    struct stat st {};
    if (fstat(fd, &st) != 0) throw TamixError(kErrDeviceIo, "Cannot read " + path + ": " + std::strerror(errno));
    Report report;
    report.blocks = st.st_size / kBlock;
    if (st.st_size % kBlock != 0)
        report.problems.push_back("the file's " + std::to_string(st.st_size) +
                                  " bytes are not a whole number of blocks: it is truncated or not a database");
    if (report.blocks > INT32_MAX) {
        report.problems.push_back("the file is larger than a database can be");
        return report;
    }
    if (report.blocks == 0) return report;
    Checker(fd, report.blocks, records, report).run();
    return report;
}

}  // namespace tamix
