// FindFiles against a plain recursive FindFirstFileW walk over the same
// generated tree of 10,000 files, measured side by side in one run.
//
// Each round times the plain walk and FindFiles one after the other; the
// best and the median of the rounds are printed as files per second, with
// the ratio of FindFiles' time to the walk's (target: at most 1.5).
#include <korvel.h>
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>
#include "test_support.h"

namespace {

const int FileCount = 10000;
const int Rounds = 9;

// 10,000 files of 0 to 999 bytes in folders up to four levels deep; half
// end in .dat, half in .txt. Returns the number of files written.
int MakeTree(const std::wstring& root)
{
    CreateDirectoryW(root.c_str(), nullptr);
    std::vector<char> bytes(1000, 'x');
    int written = 0;
    for (int i = 0; i < FileCount; ++i) {
        std::wstring dir = root;
        const int branch[4] = {i % 7, i % 5 + i % 3, i % 4, i % 2};
        for (int level = 0; level < i % 5; ++level) {
            dir += L"d" + std::to_wstring(level) + L"_" + std::to_wstring(branch[level]) + L"\\";
            CreateDirectoryW(dir.c_str(), nullptr);
        }
        std::wstring path = dir + L"f" + std::to_wstring(i) + (i % 2 ? L".txt" : L".dat");
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        DWORD n = 0;
        WriteFile(h, bytes.data(), (DWORD)(i * 37 % 1000), &n, nullptr);
        CloseHandle(h);
        ++written;
    }
    return written;
}

bool IsDots(const wchar_t* n)
{
    return n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0));
}

// The plain walk: each directory listed once with "*", files counted,
// subdirectories entered. With a pattern other than "*", the matches are
// counted from a listing of their own, as an application would do it.
void PlainWalk(const std::wstring& dir, const wchar_t* pattern, int* files)
{
    WIN32_FIND_DATAW fd;
    const bool all = wcscmp(pattern, L"*") == 0;
    if (!all) {
        HANDLE m = FindFirstFileW((dir + pattern).c_str(), &fd);
        if (m != INVALID_HANDLE_VALUE) {
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    ++*files;
            } while (FindNextFileW(m, &fd));
            FindClose(m);
        }
    }
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            *files += all ? 1 : 0;
            continue;
        }
        if (!IsDots(fd.cFileName))
            PlainWalk(dir + fd.cFileName + L"\\", pattern, files);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

int CountFiles(const KArray<KFileInfo>& found)
{
    int n = 0;
    for (const KFileInfo& f : found)
        n += f.isDirectory() ? 0 : 1;
    return n;
}

struct Timing {
    std::vector<double> seconds;
    int files = 0;
    double best() const { return *std::min_element(seconds.begin(), seconds.end()); }
    double median() const
    {
        std::vector<double> s = seconds;
        std::sort(s.begin(), s.end());
        return s[s.size() / 2];
    }
};

void Compare(const std::wstring& root, const wchar_t* pattern)
{
    Timing plain, find;
    KArray<KFileInfo> found;
    // One untimed pass of each fills the system's caches.
    int warm = 0;
    PlainWalk(root, pattern, &warm);
    FindFiles(root.c_str(), pattern, found, FIND_RECURSE | FIND_CLEAR);
    for (int r = 0; r < Rounds; ++r) {
        int files = 0;
        double t0 = get_time();
        PlainWalk(root, pattern, &files);
        double t1 = get_time();
        FindFiles(root.c_str(), pattern, found, FIND_RECURSE | FIND_CLEAR);
        double t2 = get_time();
        plain.seconds.push_back(t1 - t0);
        find.seconds.push_back(t2 - t1);
        plain.files = files;
        find.files = CountFiles(found);
    }
    printf("pattern \"%ls\": %d files (FindFiles %d, with %d records)\n", pattern, plain.files, find.files,
           found.count());
    printf("  plain walk : best %8.0f files/s  median %8.0f files/s  (%.1f ms)\n", plain.files / plain.best(),
           plain.files / plain.median(), plain.median() * 1000);
    printf("  FindFiles  : best %8.0f files/s  median %8.0f files/s  (%.1f ms)\n", find.files / find.best(),
           find.files / find.median(), find.median() * 1000);
    printf("  time ratio FindFiles / plain walk: best %.2f  median %.2f  (target <= 1.5)\n",
           find.best() / plain.best(), find.median() / plain.median());
    if (find.files != plain.files)
        printf("  MISMATCH: the two walks found different numbers of files\n");
}

} // namespace

int main()
{
    ScratchDir scratch; // removed with the tree at the end
    const std::wstring& root = scratch.path();
    double t0 = get_time();
    int made = MakeTree(root);
    printf("tree: %d files under %ls, made in %.1f s; %d rounds each\n", made, root.c_str(),
           get_time() - t0, Rounds);
    Compare(root, L"*");
    Compare(root, L"*.dat");
    return made == FileCount ? 0 : 1;
}
