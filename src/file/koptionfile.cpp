// OptionFile: loading and storing settings files with their hooks, without
// losing the settings or the file on a failure; CustomColorOptions.
#include "koptionfile.h"
#include "kdiag.h"
#include <errno.h>
#include <exception>
#include <io.h>
#include <string.h>

namespace {

// A file made with a unique name in a directory; removed when the object goes
// unless it has been moved into the place of another file.
class TempFile {
public:
    TempFile(const wchar_t* dir, const wchar_t* prefix)
    {
        wchar_t buf[MAX_PATH + 1] = {0};
        if (!GetTempFileNameW(dir, prefix, 0, buf)) {
            DWORD err = GetLastError();
            KString reason = GetWin32Error(err);
            throw KorvelException(1, (int)err, "Could not create a temporary file in \"%U\".\n%S",
                                  dir, &reason);
        }
        name = buf;
    }
    ~TempFile()
    {
        if (name.notNull())
            DeleteFileW(name);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const KString& path() const { return name; }

    // Puts this file in the place of target in one step, after which the
    // target is either the old file or the complete new one.
    void replace(const KString& target)
    {
        if (!MoveFileExW(name, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DWORD err = GetLastError();
            KString reason = GetWin32Error(err);
            throw KorvelException(1, (int)err, "Could not replace \"%S\".\n%S", &target, &reason);
        }
        name.clear();
    }

private:
    KString name;
};

bool Exists(const KString& fullPath)
{
    if (GetFileAttributesW(fullPath) != INVALID_FILE_ATTRIBUTES)
        return true;
    DWORD err = GetLastError();
    return err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND;
}

// Everything written so far, on the disk and not only in buffers.
void FlushToDisk(KFile& file)
{
    if (file.flush() != 0)
        throw KorvelException(1, "Could not write to file.\n%s.", strerror(errno));
    HANDLE h = (HANDLE)_get_osfhandle(file.getFileNo());
    if (h == INVALID_HANDLE_VALUE || !FlushFileBuffers(h)) {
        DWORD err = GetLastError();
        KString reason = GetWin32Error(err);
        throw KorvelException(1, (int)err, "Could not write to file.\n%S", &reason);
    }
}

// Runs f; anything it throws that is not a KorvelException becomes one.
template <class F>
void AsKorvelException(F f)
{
    try {
        f();
    } catch (const KorvelException&) {
        throw;
    } catch (const std::exception& e) {
        throw KorvelException(1, "%s", e.what());
    }
}

} // namespace

OptionFile::OptionFile() : version(1), mustExist(false), loaded(false) {}

OptionFile::~OptionFile() {}

void OptionFile::storeHandler() {}

void OptionFile::loadHandler() {}

void OptionFile::encryptHandler(KFile&) {}

bool OptionFile::load(const KString& p, bool remember)
{
    if (p.isNull())
        return false;
    const KString file(p); // p may be this object's own path
    if (remember)
        path = file;
    bool done = false;
    try {
        AsKorvelException([&] {
            if (!mustExist && !Exists(KFile(file).getPath()))
                return;
            _load(file);
            done = true;
        });
    } catch (const KorvelException& e) {
        e.popupMessage(ERRCODE(1, 1013), "Could not load option file \"%S\".", &file);
        return false;
    }
    return done;
}

bool OptionFile::load()
{
    return load(path, true);
}

bool OptionFile::store(const KString& p, bool remember)
{
    if (p.isNull())
        return false;
    const KString file(p);
    try {
        AsKorvelException([&] {
            storeHandler();
            if (remember)
                path = file;
            writeFile(file);
        });
    } catch (const KorvelException& e) {
        e.popupMessage(ERRCODE(1, 1014), "Could not store option file.");
        return false;
    }
    return true;
}

bool OptionFile::store()
{
    return store(path, true);
}

// Reading moves the body straight into this object, so the settings are first
// copied into memory with the subclass's own IO and read back from there when
// anything after the header fails. Memory, not a scratch file: a load must
// work where the temporary directory is missing or read-only.
void OptionFile::_load(const KString& p)
{
    KFile file;
    file.setFileName(p);
    KFileHeader header;
    ReadHeader(file, header, name);
    encryptHandler(file);

    KFile snapshot;
    snapshot.openMemory();
    saveSettings(snapshot);
    try {
        IO(file, header.version);
        loadHandler();
    } catch (...) {
        restoreSettings(snapshot);
        throw;
    }
    loaded = true;
}

void OptionFile::_store(const KString& p)
{
    storeHandler();
    writeFile(p);
}

void OptionFile::saveSettings(KFile& snapshot)
{
    IO(snapshot, version);
    snapshot.flush();
}

void OptionFile::restoreSettings(KFile& snapshot)
{
    try {
        snapshot.rewind();
        snapshot.setIOMode(1);
        IO(snapshot, version);
    } catch (...) {
        LogPrintf("OptionFile: the settings of \"%S\" could not be restored after a failed load\n",
                  &name);
    }
}

void OptionFile::writeFile(const KString& p)
{
    KFile target;
    target.setFileName(p);
    const KString full = target.getPath();
    const DWORD oldAttributes = GetFileAttributesW(full);
    if (oldAttributes != INVALID_FILE_ATTRIBUTES) {
        // A read-only file is never replaced. Windows refuses to open it for
        // writing, but a process with the rights of the file's owner on a
        // Unix host (Wine run by root) would not be stopped.
        if ((oldAttributes & FILE_ATTRIBUTE_READONLY) && !(oldAttributes & FILE_ATTRIBUTE_DIRECTORY))
            throw KorvelException(1, ERROR_ACCESS_DENIED, "The file \"%S\" is read-only.", &full);
        // Opening it for update fails where overwriting it would (a directory,
        // a file held by another program) with the same message, and changes
        // nothing.
        KFile probe;
        probe.open(full, L"r+b");
    }
    target.makeDir();

    TempFile temp(target.getDir(), L"kop");
    KFile out;
    out.open(temp.path(), L"wb");
    WriteHeader(out, name, (short)version, 0);
    encryptHandler(out);
    IO(out, version);
    FlushToDisk(out);
    out.close();
    temp.replace(full);

    // The new file keeps the old one's hidden, system and archive marks.
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    if (oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & kept))
        SetFileAttributesW(full, oldAttributes & kept);
}

CustomColorOptions::CustomColorOptions()
{
    name = L"Custom Color Options";
    version = 1;
    // The button face colour is read here rather than from BUTTON_FACE_COLOR:
    // this object may be set up before the library's look-and-feel values.
    const COLORREF defaults[NumColors] = {
        0x000000, 0xFFFFFF, GetSysColor(COLOR_BTNFACE), 0x0000FF, 0x00FF00, 0xFF0000,
        0x00FFFF, 0xFFFF00, 0xFF00FF, 0x808080, 0xFF8000, 0x0000C8,
        0x00C800, 0xC80000, 0xD0FFFD, 0x000000};
    memcpy(colors, defaults, sizeof(colors));
}

void CustomColorOptions::IO(KFile& file, int)
{
    for (COLORREF& c : colors)
        file.IO(&c);
}

CustomColorOptions CustColorOpt;
