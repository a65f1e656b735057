// KFile: stream state, binary reads and writes, the IO family and scrambling.
#include "kfile.h"
#include "kdiag.h"
#include <errno.h>
#include <io.h>
#include <string.h>
#include <algorithm>
#include <vector>

struct KFile::MemoryStream {
    std::vector<unsigned char> bytes;
    size_t pos = 0;

    size_t take(void* buf, size_t n)
    {
        size_t got = pos < bytes.size() ? std::min(n, bytes.size() - pos) : 0;
        if (got)
            memcpy(buf, &bytes[pos], got);
        pos += got;
        return got;
    }
    void put(const void* buf, size_t n)
    {
        if (pos + n > bytes.size())
            bytes.resize(pos + n);
        if (n)
            memcpy(&bytes[pos], buf, n);
        pos += n;
    }
};

void KFile::close()
{
    delete memory;
    memory = nullptr;
    if (!stream)
        return;
    fclose(stream);
    stream = nullptr;
}

void KFile::openMemory()
{
    close();
    memory = new MemoryStream;
    mode = 2;
}

void KFile::requireStream() const
{
    if (!stream)
        throw KorvelException(1, "File \"%S\" is not open.", &path);
}

// Stream state

int KFile::flush()
{
    if (memory)
        return 0;
    return stream ? fflush(stream) : -1;
}

void KFile::rewind()
{
    if (memory)
        memory->pos = 0;
    if (stream)
        ::rewind(stream);
}

int KFile::seek(int n)
{
    return stream ? fseek(stream, n, SEEK_CUR) : -1;
}

int KFile::seekTo(int n)
{
    return stream ? fseek(stream, n, SEEK_SET) : -1;
}

int KFile::seekEnd(int n)
{
    return stream ? fseek(stream, n, SEEK_END) : -1;
}

long KFile::getPos() const
{
    if (memory)
        return (long)memory->pos;
    return stream ? ftell(stream) : -1;
}

bool KFile::isEOF() const
{
    return stream ? feof(stream) != 0 : true;
}

// The size on disk lags behind buffered writes, but then the position is at
// or past it anyway, which is the answer wanted.
bool KFile::atEOF() const
{
    if (!stream)
        return true;
    long long size = _filelengthi64(_fileno(stream));
    return size < 0 || (long long)ftell(stream) >= size;
}

int KFile::getFileNo() const
{
    return stream ? _fileno(stream) : -1;
}

int KFile::setBufSize(int n)
{
    return stream ? setvbuf(stream, nullptr, _IOFBF, (size_t)n) : -1;
}

int KFile::setVBuf(char* buf, int type, unsigned size)
{
    return stream ? setvbuf(stream, buf, type, size) : -1;
}

// Scrambling

void KFile::setEncrypt(const unsigned char* k, int length, int position)
{
    key = k;
    keyLen = length;
    keyPos = position;
}

void KFile::clearEncrypt()
{
    key = nullptr;
    keyLen = 0;
    keyPos = -1;
}

void KFile::scramble(unsigned char* bytes, unsigned n)
{
    if (!key || keyLen <= 0)
        return;
    // The position is kept below the table length: the same key bytes, and
    // no overflow on files of more than 2 GB.
    for (unsigned i = 0; i < n; ++i) {
        keyPos %= keyLen;
        bytes[i] ^= key[keyPos++];
    }
}

// Binary data

int KFile::read(void* buf, unsigned n, bool partialOk)
{
    size_t got;
    if (memory) {
        got = memory->take(buf, n);
    } else {
        requireStream();
        got = fread(buf, 1, n, stream);
    }
    if (got < n && !partialOk)
        throw KorvelException(1, "Error reading \"%S\".\nEOF while reading.", &path);
    if (keyPos >= 0)
        scramble((unsigned char*)buf, (unsigned)got);
    return (int)got;
}

void KFile::writeRaw(const void* buf, size_t n)
{
    if (memory) {
        memory->put(buf, n);
        return;
    }
    requireStream();
    if (fwrite(buf, 1, n, stream) == n)
        return;
    int err = errno;
    throw KorvelException(1, "Could not write to file.\n%s.", strerror(err));
}

int KFile::write(const void* buf, unsigned n)
{
    if (keyPos < 0) {
        writeRaw(buf, n);
        return (int)n;
    }
    if (!memory)
        requireStream();
    // Scramble a copy, a block at a time, so the caller's bytes stay as they are.
    const unsigned char* src = (const unsigned char*)buf;
    unsigned char block[4096];
    for (unsigned done = 0; done < n;) {
        unsigned part = n - done < sizeof(block) ? n - done : (unsigned)sizeof(block);
        memcpy(block, src + done, part);
        scramble(block, part);
        writeRaw(block, part);
        done += part;
    }
    return (int)n;
}

void KFile::IO(void* buf, unsigned n)
{
    if (mode == 1)
        read(buf, n, false);
    else if (mode == 2)
        write(buf, n);
}

void KFile::IO(KString* s)
{
    s->IO(*this);
}

void KFile::readObj(KString* s)
{
    s->read(*this);
}

void KFile::writeObj(const KString* s)
{
    s->write(*this);
}
