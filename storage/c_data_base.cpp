#include "c_data_base.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

std::string inUseMessage(const std::string& name) {
    return "The database " + name + " is in use by another program";
}

}  // namespace

cDataBase::cDataBase() : buffer_(kBlockSize, 0) {}

cDataBase::~cDataBase() { dbClose(); }

void cDataBase::fail(int number, const std::string& what) const {
    throw TamixError(number, what + " (" + fileName_ + ")");
}

void cDataBase::dbDataBlock(const Bytes& data) {
    if (fd_ < 0) fail(kErrBadFileName, "The database file is not open");
    if (current_ < 1) fail(kErrBadRecordNumber, "Bad block number " + std::to_string(current_));
    dataBlock_ = data;
    std::copy_n(data.begin(), std::min<std::size_t>(data.size(), kBlockSize), buffer_.begin());
    bufferBlock_ = 0;
    if (writeLimit_ >= 0 && writeCount_ >= writeLimit_)
        fail(kErrDeviceIo, "Writing stopped after " + std::to_string(writeLimit_) + " blocks");
    const off_t at = static_cast<off_t>(current_ - 1) * kBlockSize;
    const ssize_t done = pwrite(fd_, buffer_.data(), kBlockSize, at);
    if (done != kBlockSize)
        fail(kErrDeviceIo, "Cannot write block " + std::to_string(current_) + ": " +
                               (done < 0 ? std::strerror(errno) : "short write"));
    ++writeCount_;
    bufferBlock_ = current_;
    if (current_ >= windowFirst_ && current_ < windowFirst_ + windowBlocks_)
        std::copy(buffer_.begin(), buffer_.end(),
                  window_.begin() + static_cast<std::ptrdiff_t>(current_ - windowFirst_) * kBlockSize);
}

void cDataBase::dbAddNew() {
    ++recordCount_;
    current_ = recordCount_;
}

void cDataBase::read() {
    if (fd_ < 0) fail(kErrBadFileName, "The database file is not open");
    if (current_ < 1) fail(kErrBadRecordNumber, "Bad block number " + std::to_string(current_));
    if (bufferBlock_ != current_) {
        if (current_ < windowFirst_ || current_ >= windowFirst_ + windowBlocks_) {
            // Fill the window from this block on; only whole blocks count.
            window_.resize(static_cast<std::size_t>(kWindowBlocks) * kBlockSize);
            windowFirst_ = current_;
            windowBlocks_ = 0;
            const off_t at = static_cast<off_t>(current_ - 1) * kBlockSize;
            std::size_t got = 0;
            while (got < window_.size()) {
                const ssize_t n = pread(fd_, window_.data() + got, window_.size() - got, at + got);
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) fail(kErrDeviceIo, "Cannot read block " + std::to_string(current_) + ": " + std::strerror(errno));
                if (n == 0) break;
                got += static_cast<std::size_t>(n);
            }
            windowBlocks_ = static_cast<std::int32_t>(got / kBlockSize);
            if (windowBlocks_ == 0) {
                // Past the end of the file a block reads as zeros (a partial
                // last block keeps the bytes it has).
                std::copy_n(window_.begin(), got, buffer_.begin());
                std::fill(buffer_.begin() + got, buffer_.end(), 0);
                bufferBlock_ = current_;
                dataBlock_.assign(buffer_.begin(), buffer_.end());
                return;
            }
        }
        std::copy_n(window_.begin() + static_cast<std::ptrdiff_t>(current_ - windowFirst_) * kBlockSize, kBlockSize,
                    buffer_.begin());
        bufferBlock_ = current_;
    }
    dataBlock_.assign(buffer_.begin(), buffer_.end());
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
    bufferBlock_ = 0;
    windowBlocks_ = 0;
}

void cDataBase::dbOpen() {
    openError_.reset();
    bufferBlock_ = 0;
    windowBlocks_ = 0;
    const int fd = ::open(fileName_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int err = errno;
        openError_ = TamixError(errorNumberFor(err), "Cannot open the database " + fileName_ +
                                                         ": " + std::strerror(err));
        return;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        openError_ = TamixError(kErrInUse, inUseMessage(fileName_));
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
    bufferBlock_ = 0;
    windowBlocks_ = 0;
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

}  // namespace tamix
