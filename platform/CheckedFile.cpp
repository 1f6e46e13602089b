#include "CheckedFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileStamp StampOf(const struct stat& info) {
    return {quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

FileCheck CheckOf(const struct stat& info, qint64 maxBytes) {
    if (!S_ISREG(info.st_mode))
        return FileCheck::NotRegular;
    return info.st_size > maxBytes ? FileCheck::TooLarge : FileCheck::Regular;
}

FileCheck CheckOfError(int error) {
    return error == ENOENT || error == ENOTDIR ? FileCheck::Missing : FileCheck::Unreadable;
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int Fd;
    ~Descriptor() {
        if (Fd >= 0)
            ::close(Fd);
    }
};

} // namespace

FileCheck CheckFile(const QString& fileName, qint64 maxBytes, FileStamp* stamp) {
    if (fileName.isEmpty())
        return FileCheck::Missing;
    struct stat info {};
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return CheckOfError(errno);
    if (stamp)
        *stamp = StampOf(info);
    return CheckOf(info, maxBytes);
}

CheckedFile ReadCheckedFile(const QString& fileName, qint64 maxBytes) {
    CheckedFile file;
    file.Check = CheckFile(fileName, maxBytes);
    if (file.Check != FileCheck::Regular)
        return file;
    // The name may have been swapped for a pipe since the check: a non-blocking open never waits
    // for a writer, and the open file is checked again.
    const Descriptor fd{::open(QFile::encodeName(fileName).constData(),
                               O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat info {};
    if (fd.Fd < 0 || ::fstat(fd.Fd, &info) != 0) {
        file.Check = CheckOfError(errno);
        return file;
    }
    file.Check = CheckOf(info, maxBytes);
    if (file.Check != FileCheck::Regular)
        return file;
    file.Stamp = StampOf(info);
    // One byte more than the limit tells a file that has grown since its size was taken.
    file.Bytes.resize(qsizetype(info.st_size) + 1);
    qsizetype filled = 0;
    while (filled < file.Bytes.size()) {
        const ssize_t got = ::read(fd.Fd, file.Bytes.data() + filled, file.Bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            file = {FileCheck::Unreadable, {}, {}};
            return file;
        }
        if (got == 0)
            break;
        filled += got;
        if (filled == file.Bytes.size() && filled <= maxBytes)
            file.Bytes.resize(std::min<qint64>(filled * 2, maxBytes + 1));
    }
    if (filled > maxBytes) {
        file = {FileCheck::TooLarge, {}, {}};
        return file;
    }
    file.Bytes.truncate(filled);
    return file;
}

bool IsLinkOrSpecial(const QString& fileName) {
    struct stat info {};
    if (::lstat(QFile::encodeName(fileName).constData(), &info) != 0)
        return false;
    return !S_ISREG(info.st_mode);
}
