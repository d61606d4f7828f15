#include "storage/c_data_base.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace tamix {
namespace {

int errorNumberFor(int err) {
    switch (err) {
    case ENOENT: return kErrFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return kErrPermission;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return kErrPathAccess;
    default: return kErrDeviceIo;
    }
}

}  // namespace

cDataBase::cDataBase()
    : buffer_(kBlockSize, 0), slots_(static_cast<std::size_t>(kSlots) * kBlockSize, 0), tags_(kSlots, 0) {}

cDataBase::~cDataBase() { dbClose(); }

void cDataBase::fail(int number, const std::string& what) const {
    throw TamixError(number, what + " (" + fileName_ + ")");
}

Bytes cDataBase::dbDataBlock() const { return dataIsBuffer_ ? buffer_ : dataBlock_; }

void cDataBase::forget() {
    bufferBlock_ = 0;
    std::fill(tags_.begin(), tags_.end(), 0);
    readEnd_ = 0;
    ahead_ = kMinAhead;
}

void cDataBase::dbDataBlock(const Bytes& data) {
    if (fd_ < 0) fail(kErrBadFileName, "The database file is not open");
    if (current_ < 1) fail(kErrBadRecordNumber, "Bad block number " + std::to_string(current_));
    dataBlock_ = data;
    dataIsBuffer_ = false;
    std::copy_n(data.begin(), std::min<std::size_t>(data.size(), kBlockSize), buffer_.begin());
    bufferBlock_ = 0;
    const std::size_t at = static_cast<std::size_t>(current_ % kSlots);
    if (tags_[at] == current_) tags_[at] = 0;
    if (writeLimit_ >= 0 && writeCount_ >= writeLimit_)
        fail(kErrDeviceIo, "Writing stopped after " + std::to_string(writeLimit_) + " blocks");
    const off_t offset = static_cast<off_t>(current_ - 1) * kBlockSize;
    const ssize_t done = pwrite(fd_, buffer_.data(), kBlockSize, offset);
    if (done != kBlockSize)
        fail(kErrDeviceIo, "Cannot write block " + std::to_string(current_) + ": " +
                               (done < 0 ? std::strerror(errno) : "short write"));
    ++writeCount_;
    bufferBlock_ = current_;
    std::copy(buffer_.begin(), buffer_.end(), slot(current_));
    tags_[at] = current_;
}

void cDataBase::dbDataBlocks(std::int32_t first, const std::uint8_t* const* images, std::size_t count) {
    if (count == 0) return;
    if (fd_ < 0) fail(kErrBadFileName, "The database file is not open");
    if (first < 1) fail(kErrBadRecordNumber, "Bad block number " + std::to_string(first));
    // Blocks the write limit lets through; the one after them fails.
    std::size_t allowed = count;
    if (writeLimit_ >= 0) allowed = static_cast<std::size_t>(std::clamp<long>(writeLimit_ - writeCount_, 0, count));
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t block = first + static_cast<std::int32_t>(i);
        if (tags_[block % kSlots] == block) tags_[block % kSlots] = 0;
    }
    bufferBlock_ = 0;
    dataIsBuffer_ = true;
    std::vector<iovec> iov(allowed);
    for (std::size_t i = 0; i < allowed; ++i) iov[i] = {const_cast<std::uint8_t*>(images[i]), kBlockSize};
    std::size_t done = 0;  // iovecs written whole
    std::size_t part = 0;  // bytes written of iovec `done`
    while (done < allowed) {
        const off_t offset = static_cast<off_t>(first - 1 + static_cast<std::int32_t>(done)) * kBlockSize +
                             static_cast<off_t>(part);
        iov[done].iov_base = const_cast<std::uint8_t*>(images[done]) + part;
        iov[done].iov_len = kBlockSize - part;
        const int n = static_cast<int>(std::min<std::size_t>(allowed - done, IOV_MAX));
        const ssize_t wrote = pwritev(fd_, &iov[done], n, offset);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            current_ = first + static_cast<std::int32_t>(done);
            std::copy_n(images[done], kBlockSize, buffer_.begin());
            writeCount_ += static_cast<long>(done);
            fail(kErrDeviceIo, "Cannot write block " + std::to_string(current_) + ": " +
                                   (wrote < 0 ? std::strerror(errno) : "short write"));
        }
        std::size_t left = static_cast<std::size_t>(wrote);
        while (left > 0) {
            const std::size_t take = std::min(left, kBlockSize - part);
            left -= take;
            part += take;
            if (part == kBlockSize) {
                ++done;
                part = 0;
            }
        }
    }
    writeCount_ += static_cast<long>(allowed);
    for (std::size_t i = 0; i < allowed; ++i) {
        const std::int32_t block = first + static_cast<std::int32_t>(i);
        std::copy_n(images[i], kBlockSize, slot(block));
        tags_[block % kSlots] = block;
    }
    const std::size_t last = allowed < count ? allowed : count - 1;
    current_ = first + static_cast<std::int32_t>(last);
    std::copy_n(images[last], kBlockSize, buffer_.begin());
    if (allowed < count) fail(kErrDeviceIo, "Writing stopped after " + std::to_string(writeLimit_) + " blocks");
    bufferBlock_ = current_;
}

void cDataBase::dbAddNew() {
    ++recordCount_;
    current_ = recordCount_;
}

const std::uint8_t* cDataBase::cached(std::int32_t block) const {
    const std::size_t at = static_cast<std::size_t>(block % kSlots);
    return tags_[at] == block ? slots_.data() + at * kBlockSize : nullptr;
}

const std::uint8_t* cDataBase::fetch(std::int32_t block) {
    const bool scanning = block >= readEnd_ && block - readEnd_ < kMaxAhead && readEnd_ > 0;
    ahead_ = scanning ? std::min(2 * ahead_, kMaxAhead) : kMinAhead;
    ahead_ = static_cast<std::int32_t>(std::min<std::int64_t>(ahead_, std::int64_t{INT32_MAX} - block + 1));
    readEnd_ = block + ahead_ - 1 < INT32_MAX ? block + ahead_ : INT32_MAX;
    iovec iov[kMaxAhead];
    for (std::int32_t i = 0; i < ahead_; ++i) {
        tags_[(block + i) % kSlots] = 0;
        iov[i] = {slot(block + i), kBlockSize};
    }
    const off_t offset = static_cast<off_t>(block - 1) * kBlockSize;
    std::size_t got = 0;
    const std::size_t want = static_cast<std::size_t>(ahead_) * kBlockSize;
    while (got < want) {
        // Continue in the iovec the last call stopped in.
        const std::size_t first = got / kBlockSize;
        iovec rest[kMaxAhead];
        std::copy(iov + first, iov + ahead_, rest);
        rest[0].iov_base = static_cast<std::uint8_t*>(rest[0].iov_base) + got % kBlockSize;
        rest[0].iov_len -= got % kBlockSize;
        const ssize_t n = preadv(fd_, rest, ahead_ - static_cast<int>(first), offset + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(kErrDeviceIo, "Cannot read block " + std::to_string(block) + ": " + std::strerror(errno));
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    const std::size_t whole = got / kBlockSize;
    for (std::size_t i = 0; i < whole; ++i) tags_[(block + static_cast<std::int32_t>(i)) % kSlots] = block + static_cast<std::int32_t>(i);
    if (whole > 0) return slot(block);
    // Past the end of the file a block reads as zeros (a partial last block
    // keeps the bytes it has).
    std::copy_n(slot(block), got, buffer_.begin());
    std::fill(buffer_.begin() + static_cast<std::ptrdiff_t>(got), buffer_.end(), 0);
    return nullptr;
}

void cDataBase::read() {
    if (fd_ < 0) fail(kErrBadFileName, "The database file is not open");
    if (current_ < 1) fail(kErrBadRecordNumber, "Bad block number " + std::to_string(current_));
    if (bufferBlock_ != current_) {
        const std::uint8_t* image = cached(current_);
        if (!image) image = fetch(current_);
        if (image) std::copy_n(image, kBlockSize, buffer_.begin());
        bufferBlock_ = current_;
    }
    dataIsBuffer_ = true;
}

void cDataBase::dbGoto(std::int32_t block) {
    current_ = block;
    read();
}

void cDataBase::dbMoveLast() { dbGoto(recordCount_); }
void cDataBase::dbMovePrevious() { dbGoto(current_ - 1); }
void cDataBase::dbMoveNext() { dbGoto(current_ + 1); }
void cDataBase::dbMoveFirst() { dbGoto(1); }

void cDataBase::dbClose() {
    if (fd_ >= 0) {
        ::close(fd_);  // also releases the lock
        fd_ = -1;
    }
    forget();
}

void cDataBase::dbOpen() {
    openError_.reset();
    forget();
    const int fd = ::open(fileName_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int err = errno;
        openError_ = TamixError(errorNumberFor(err), "Cannot open the database " + fileName_ +
                                                         ": " + std::strerror(err));
        return;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        openError_ = dbInUseError(fileName_);
        return;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        openError_ = TamixError(errorNumberFor(err), "Cannot open the database " + fileName_ +
                                                         ": " + std::strerror(err));
        return;
    }
    fd_ = fd;
    openedLength_ = st.st_size;
    // Length / 1,024 rounded to the nearest whole number, halves to even.
    std::int64_t q = st.st_size / kBlockSize;
    const std::int64_t r = st.st_size % kBlockSize;
    if (r > kBlockSize / 2 || (r == kBlockSize / 2 && (q % 2) == 1)) ++q;
    recordCount_ = static_cast<std::int32_t>(std::min<std::int64_t>(q, INT32_MAX));
    try {
        dbMoveFirst();
    } catch (const TamixError& e) {
        dbClose();
        openError_ = e;
    }
}

void cDataBase::dbTruncate() {
    if (fd_ < 0) fail(kErrBadFileName, "The database file is not open");
    if (ftruncate(fd_, 0) != 0)
        fail(kErrDeviceIo, std::string("Cannot empty the file: ") + std::strerror(errno));
    recordCount_ = 0;
    current_ = 0;
    forget();
    openedLength_ = 0;
}

void cDataBase::dbSync() {
    if (fd_ < 0 || !barriers_) return;
    if (fdatasync(fd_) != 0)
        fail(kErrDeviceIo, std::string("Cannot flush the file to its device: ") + std::strerror(errno));
}

bool cDataBase::dbInUse(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

TamixError cDataBase::dbInUseError(const std::string& path) {
    return TamixError(kErrInUse, "The database " + path + " is in use by another program");
}

}  // namespace tamix
