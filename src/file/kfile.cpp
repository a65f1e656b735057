// KFile: naming, copying, opening and closing, and directory creation.
#include "kfile.h"
#include "kpath.h"
#include "kmacro.h"
#include "kdiag.h"
#include <direct.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

KFile::KFile() : mode(0), stream(nullptr), memory(nullptr)
{
    _setDefaults();
}

KFile::KFile(const wchar_t* p) : KFile()
{
    setFileName(p);
}

KFile::KFile(const KString& d, const KString& name) : KFile()
{
    setFileName(d, name);
}

KFile::KFile(const KFile& other) : KFile()
{
    copyName(other);
}

KFile& KFile::operator=(const KFile& other)
{
    if (this == &other)
        return *this;
    close();
    copyName(other);
    return *this;
}

KFile::~KFile()
{
    close();
}

void KFile::copyName(const KFile& o)
{
    mode = o.mode;
    path = o.path;
    drive = o.drive;
    dir = o.dir;
    ext = o.ext;
    prefix = o.prefix;
    filename = o.filename;
}

void KFile::_setDefaults()
{
    mode = 0;
    stream = nullptr;
    memory = nullptr;
    key = def_enc_bytes;
    keyLen = num_def_enc_bytes;
    keyPos = -1;
}

void KFile::setFileName(const wchar_t* p)
{
    // Work out the new name before touching this file, so that a path with an
    // undefined macro or one too long leaves the file as it was. p may point
    // into this file's own path.
    KString full;
    wchar_t d[_MAX_DRIVE], directory[_MAX_DIR], name[_MAX_FNAME], extension[_MAX_EXT];
    if (p && *p) {
        KString expanded = ReplaceMacros(p);
        wchar_t buf[MAX_PATH + 1];
        if (!_wfullpath(buf, expanded, MAX_PATH))
            throw KorvelException(1, "Invalid file name \"%S\".", &expanded);
        full = buf;
        _wsplitpath(full, d, directory, name, extension);
    }

    close();
    _setDefaults();
    path = full;
    if (full.isNull()) {
        drive.clear();
        dir.clear();
        ext.clear();
        prefix.clear();
        filename.clear();
        return;
    }
    drive = d;
    dir = drive;
    dir += directory;
    prefix = name;
    ext = extension[0] == L'.' ? extension + 1 : extension;
    filename = prefix;
    filename += extension;
}

void KFile::setFileName(const wchar_t* d, const wchar_t* name)
{
    KString joined;
    joined.set("%U\\%U", d ? d : L"", name ? name : L"");
    setFileName(joined);
}

void KFile::open(const wchar_t* p, const wchar_t* modeText)
{
    setFileName(p);
    const wchar_t m = modeText ? modeText[0] : 0;
    if (m == L'r') {
        mode = 1;
    } else if (m == L'w' || m == L'a') {
        mode = 2;
        makeDir();
    } else {
        Fatal("file", 290, "Invalid mode in KFile::open(path='%S', mode='%U')", &path,
              modeText ? modeText : L"");
        return;
    }
    stream = _wfopen(path, modeText);
    if (stream)
        return;
    int err = errno;
    KString rel = GetRelPath(path);
    throw KorvelException(1, "Error[%d] opening \"%S\".\n%s.", err, &rel, strerror(err));
}

void KFile::open(const wchar_t* modeText)
{
    KString p(path); // setFileName replaces the path it is given
    open(p, modeText);
}

// Walks dir part by part, creating each directory below the drive. A UNC
// prefix (\\server\share\) is taken as given: it cannot be created.
bool KFile::makeDir()
{
    KArray<KString> parts = dir.split(L'\\', false);
    KString built;
    int first = 0;
    if (dir.startsWith(L"\\\\") && parts.count() >= 4) {
        built.set("\\\\%S\\%S\\", &parts[2], &parts[3]);
        first = 4;
    }
    for (int i = first; i < parts.count(); ++i) {
        if (parts[i].isNull())
            continue;
        built += parts[i];
        built += L'\\';
        if (parts[i].findChar(L':') >= 0)
            continue;
        if (_wmkdir(built) == 0 || errno == EEXIST || errno == EACCES)
            continue;
        int err = errno;
        throw KorvelException(1, "Could not create directory \"%S\": %s.", &built, strerror(err));
    }
    return true;
}
