#include "file_support.h"
#include <stdio.h>

namespace {

void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = dir + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full + L"\\");
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

} // namespace

ScratchDir::ScratchDir()
{
    static int serial = 0;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    wchar_t name[64];
    swprintf(name, 64, L"korvel_file_%lu_%d\\", GetCurrentProcessId(), ++serial);
    dir = std::wstring(temp) + name;
    RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
}

ScratchDir::~ScratchDir()
{
    RemoveTree(dir);
}

Bytes ReadBytes(const std::wstring& path)
{
    Bytes out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    unsigned char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got > 0)
        out.insert(out.end(), buf, buf + got);
    CloseHandle(h);
    return out;
}

void WriteBytes(const std::wstring& path, const Bytes& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD put = 0;
    if (!bytes.empty())
        WriteFile(h, bytes.data(), (DWORD)bytes.size(), &put, nullptr);
    CloseHandle(h);
}

void Put16(Bytes& b, unsigned v)
{
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

void Put32(Bytes& b, unsigned v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

unsigned Get16(const Bytes& b, size_t at)
{
    return b[at] | (b[at + 1] << 8);
}

unsigned Get32(const Bytes& b, size_t at)
{
    return Get16(b, at) | (Get16(b, at + 2) << 16);
}

std::string Narrow(const KString& s)
{
    std::string out;
    for (int i = 0; i < s.length(); ++i)
        out += (char)(s[i] & 0xFF);
    return out;
}

std::string Narrow(const std::wstring& s)
{
    std::string out;
    for (wchar_t c : s)
        out += (char)(c & 0xFF);
    return out;
}
