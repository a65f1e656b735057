// KFile: file-system questions about the named file and setting its times.
#include "kfile.h"
#include "kdiag.h"
#include <errno.h>
#include <string.h>
#include <sys/utime.h>

// The 64-bit runtime has no 32-bit stat of its own: the wide record is
// taken and narrowed, times and size keeping their low 32 bits.
void KFile::getStat(struct _stat32* st) const
{
    struct _stat64 wide;
    if (_wstat64(path, &wide) != 0) {
        int err = errno;
        throw KorvelException(1, "stat failed.\n%s.", strerror(err));
    }
    memset(st, 0, sizeof(*st));
    st->st_dev = wide.st_dev;
    st->st_ino = wide.st_ino;
    st->st_mode = wide.st_mode;
    st->st_nlink = wide.st_nlink;
    st->st_uid = wide.st_uid;
    st->st_gid = wide.st_gid;
    st->st_rdev = wide.st_rdev;
    st->st_size = (_off_t)wide.st_size;
    st->st_atime = (__time32_t)wide.st_atime;
    st->st_mtime = (__time32_t)wide.st_mtime;
    st->st_ctime = (__time32_t)wide.st_ctime;
}

bool KFile::isReg() const
{
    struct _stat32 st;
    getStat(&st);
    return (st.st_mode & 0x8000) != 0;
}

bool KFile::isDir() const
{
    struct _stat32 st;
    getStat(&st);
    return (st.st_mode & 0x4000) != 0;
}

long KFile::getSize() const
{
    struct _stat32 st;
    getStat(&st);
    return st.st_size;
}

long KFile::getCreateTime() const
{
    struct _stat32 st;
    getStat(&st);
    return st.st_ctime;
}

long KFile::getModTime() const
{
    struct _stat32 st;
    getStat(&st);
    return st.st_mtime;
}

long KFile::getAccessTime() const
{
    struct _stat32 st;
    getStat(&st);
    return st.st_atime;
}

void KFile::setTimes(long accessTime, long modTime)
{
    struct __utimbuf32 times;
    times.actime = accessTime;
    times.modtime = modTime;
    if (stream) {
        // Buffered bytes written after the call would move the time again.
        fflush(stream);
        if (_futime32(_fileno(stream), &times) == 0)
            return;
        int err = errno;
        throw KorvelException(1, "_futime failed.\n%s.", strerror(err));
    }
    if (_wutime32(path, &times) == 0)
        return;
    int err = errno;
    throw KorvelException(1, "_utime failed.\n%s.", strerror(err));
}
