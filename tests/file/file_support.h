// Helpers of the file tests: a scratch directory of real files, raw byte
// access to them, and checks of thrown KorvelException texts.
#ifndef KORVEL_TESTS_FILE_SUPPORT_H
#define KORVEL_TESTS_FILE_SUPPORT_H

#include <windows.h>
#include <string>
#include <vector>
#include <korvel.h>

typedef std::vector<unsigned char> Bytes;

// A fresh directory under the temporary directory, removed with its content
// when the object goes; path() ends in a backslash.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::wstring& path() const { return dir; }
    // path() followed by name.
    std::wstring file(const std::wstring& name) const { return dir + name; }
private:
    std::wstring dir;
};

// The whole content of a file, through the Windows file API.
Bytes ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const Bytes& bytes);

// Little-endian pieces for building records by hand.
void Put16(Bytes& b, unsigned v);
void Put32(Bytes& b, unsigned v);
unsigned Get16(const Bytes& b, size_t at);
unsigned Get32(const Bytes& b, size_t at);

std::string Narrow(const KString& s);
std::string Narrow(const std::wstring& s);

// Runs f, which must throw KorvelException; returns the exception's text
// (group checked to be 1), or "<no exception>".
template <class F>
std::string ThrownText(F f)
{
    try {
        f();
    } catch (const KorvelException& e) {
        if (e.group != 1)
            return "<group " + std::to_string(e.group) + ">";
        return Narrow(e.text);
    }
    return "<no exception>";
}

#endif
