// KFile, the library's named file, and the typed header of binary files.
//
// A KFile names a file (macros replaced, made a full path), opens it through
// the runtime's streams and moves values with one IO family that reads in
// mode 1 and writes in mode 2, so that a single routine describes a record in
// both directions:
//
//     void Settings::IO(KFile& f)
//     {
//         int version = 1;
//         f.IO(&version);
//         f.IO(&title);       // KString record
//         f.IO(&scale);       // double, 8 bytes
//     }
//
// Values are moved as their own little-endian bytes. Every failure throws
// KorvelException with group 1; the file is left as it was at the failure.
#ifndef KORVEL_KFILE_H
#define KORVEL_KFILE_H

#include <stdio.h>
#include <stdarg.h>
#include <sys/types.h>
#include <sys/stat.h>
#include <type_traits>
#include "kexport.h"
#include "kstring.h"
#include "kgeometry.h"

// The built-in scrambling key: a fixed table of 20190 bytes.
extern KORVEL_API const unsigned char def_enc_bytes[];
extern KORVEL_API const int num_def_enc_bytes;

class KORVEL_API KFile {
public:
    // Naming. A name passes through ReplaceMacros and becomes a full path.
    KFile();
    KFile(const wchar_t* path);
    KFile(const KString& dir, const KString& name);
    // Copies the mode and the name, never the stream. A copy has the default
    // scrambling settings; assignment keeps the target's own.
    KFile(const KFile& other);
    KFile& operator=(const KFile& other);
    ~KFile();
    // Closes, resets scrambling and fills the name parts; an empty path clears them.
    void setFileName(const wchar_t* path);
    // Joins dir and name with a backslash.
    void setFileName(const wchar_t* dir, const wchar_t* name);
    // Identity: true only for the same object.
    bool operator==(const KFile& other) const { return this == &other; }

    const KString& getPath() const { return path; }
    const KString& getDrive() const { return drive; }
    // Drive and directory, ending in a backslash.
    const KString& getDir() const { return dir; }
    // Extension without its dot.
    const KString& getExt() const { return ext; }
    // File name without extension.
    const KString& getPrefix() const { return prefix; }
    const KString& getFilename() const { return filename; }

    // Opening. The mode text is the runtime's ("rb", "wb", "a" ...): 'r' reads
    // (mode 1); 'w' and 'a' write (mode 2) and create missing directories.
    void open(const wchar_t* path, const wchar_t* mode);
    void open(const wchar_t* mode);
    void close();
    bool isOpen() const { return stream != nullptr || memory != nullptr; }
    // 0 not set, 1 reading, 2 writing; kept after close.
    int IOMode() const { return mode; }
    void setIOMode(int m) { mode = m; }

    // Stream position and buffering, as the runtime's functions; -1 or true
    // (isEOF, atEOF) without a stream.
    int flush();
    void rewind();
    int seek(int n);
    int seekTo(int n);
    int seekEnd(int n);
    long getPos() const;
    bool isEOF() const;
    // True when the position is at or beyond the file's size.
    bool atEOF() const;
    int getFileNo() const;
    int setBufSize(int n);
    int setMaxBuf() { return setBufSize(32768); }
    int setVBuf(char* buf, int type, unsigned size);

    // Binary data. read throws at the end of the file unless partialOk.
    int read(void* buf, unsigned n, bool partialOk);
    int write(const void* buf, unsigned n);
    // read in mode 1, write in mode 2, nothing otherwise.
    void IO(void* buf, unsigned n);
    void IO(bool* v) { IO(v, 1); }
    void IO(char* v) { IO((void*)v, 1); }
    void IO(unsigned char* v) { IO(v, 1); }
    void IO(short* v) { IO(v, 2); }
    void IO(unsigned short* v) { IO(v, 2); }
    void IO(wchar_t* v) { IO(v, 2); }
    void IO(int* v) { IO(v, 4); }
    void IO(unsigned int* v) { IO(v, 4); }
    void IO(long* v) { IO(v, 4); }
    void IO(unsigned long* v) { IO(v, 4); }
    void IO(float* v) { IO(v, 4); }
    void IO(double* v) { IO(v, 8); }
    void IO(long long* v) { IO(v, 8); }
    void IO(unsigned long long* v) { IO(v, 8); }
    void IO(KPOINT* v) { IO(v, 8); }
    // Other plain records of fixed size (KDateTime, KPoint<T>, complex): their own bytes.
    template <class T>
    void IO(T* v)
    {
        static_assert(std::is_trivially_copyable<T>::value && !std::is_pointer<T>::value,
                      "KFile::IO moves plain values; records need their own IO routine");
        IO((void*)v, sizeof(T));
    }
    // The string record (KString::IO).
    void IO(KString* s);
    void readObj(int* v) { read(v, 4, false); }
    void readObj(unsigned long* v) { read(v, 4, false); }
    void readObj(KString* s);
    void writeObj(const int* v) { write(v, 4); }
    void writeObj(const unsigned long* v) { write(v, 4); }
    void writeObj(const KString* s);

    // Scrambling: each byte moved is XORed with key[position % length] and the
    // position advances; -1 switches it off. Set it after open: naming resets it.
    void setEncrypt(const unsigned char* key, int length, int position);
    void setEncrypt(int position) { keyPos = position; }
    void clearEncrypt();

    // 8-bit text: each formatted character's low byte.
    void print(const char* format, ...);
    void _print(const char* format, va_list args);
    // Wide text: 2 bytes a character, little-endian, no byte-order mark.
    void wprint(const char* format, ...);
    // The text centred in a line of width characters padded with fill.
    void printHeading(int width, char fill, const char* format, ...);
    // A box of width columns drawn with c around one line of text.
    void printBoxBar(int width, char c);
    void printBoxLines(int count, int width, char c);
    void printBox(int width, int blankLines, char c, const char* format, ...);
    int getChar();
    int wGetChar();
    // One line without its line feed; a carriage return ends the text.
    // Returns 0 only at the end of the file with nothing read.
    int getLine(char* buf, int size);
    // The same for lines of up to 1024 characters.
    int getLine(KString& line);

    // File-system questions about the path; getStat throws when it fails.
    void getStat(struct _stat32* st) const;
    bool isReg() const;
    bool isDir() const;
    long getSize() const;
    // Seconds since 1970: status change, modification and access.
    long getCreateTime() const;
    long getModTime() const;
    long getAccessTime() const;
    // Through the open stream if there is one, else through the path.
    void setTimes(long accessTime, long modTime);
    // Creates every missing directory of getDir().
    bool makeDir();

protected:
    void _setDefaults();

private:
    // Option files keep the settings they may have to put back in memory.
    friend class OptionFile;
    struct MemoryStream;
    // Opens an empty stream in memory for writing (then rewind and mode 1 to
    // read it back). It serves binary data only: read, write, IO, rewind,
    // flush and getPos; the text and file-system operations throw or answer
    // as for a closed file.
    void openMemory();

    // Copies the mode and the name parts of other.
    void copyName(const KFile& other);
    // Throws unless a stream is open.
    void requireStream() const;
    // XORs n bytes with the key from the current position, advancing it.
    void scramble(unsigned char* bytes, unsigned n);
    // Writes n bytes as they are; throws when fewer were written.
    void writeRaw(const void* buf, size_t n);
    void printFill(int count, char c);

    int mode;
    KString path;
    KString drive;
    KString dir;
    KString ext;
    KString prefix;
    KString filename;
    FILE* stream;
    MemoryStream* memory;
    const unsigned char* key;
    int keyLen;
    int keyPos;
};

// Typed header of a binary file, so that a reader can refuse a file of another kind.
struct KORVEL_API KFileHeader {
    unsigned int magic;
    wchar_t name[101];
    short version;
    short subVersion;
    int extra;
    short libVersionMajor;
    short libVersionMinor;

    KFileHeader() { clear(); }
    // magic 0x12345678, empty name, version 1.0, library version 6.3.
    void clear();
    // Moves the 226-byte header record; reading leaves *this unchanged when it throws.
    void IO(KFile& file);
};

// Rewinds an open file (else opens it "wb") and writes a header of kind name.
KORVEL_API void WriteHeader(KFile& file, const KString& name, short version, short subVersion);
// Opens the file "rb" and reads its header; throws "Not a \"name\" file." for another kind.
KORVEL_API void ReadHeader(KFile& file, KFileHeader& header, const KString& name);

#endif
