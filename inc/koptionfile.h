// Option files: groups of settings kept in small binary files, and the
// custom colours of the colour chooser.
//
// An option file is the typed header of WriteHeader (name = the kind of
// settings, version = the object's version) followed by the body that the
// subclass moves with KFile::IO, one routine for both directions:
//
//     class GridOptions : public OptionFile {
//     public:
//         GridOptions() { name = L"Grid Options"; version = 2; }
//         int columns = 4;
//         KString title;
//     protected:
//         void IO(KFile& f, int version) override
//         {
//             f.IO(&columns);
//             if (version >= 2)      // the version the file was written with
//                 f.IO(&title);
//         }
//     };
//
//     GridOptions grid;
//     grid.load(L"[TARNWELL_DIR]\\user\\grid.opt", true);  // false: defaults stay
//     grid.columns = 6;
//     grid.store();                                        // to the same file
//
// load and store never throw: a failure is shown in an error box, logged and
// answered with false. A failed load leaves the settings as they were; a
// failed store leaves the file as it was, because the new content goes to a
// temporary file beside it that replaces it only once completely written.
#ifndef KORVEL_KOPTIONFILE_H
#define KORVEL_KOPTIONFILE_H

#include <windows.h>
#include "kexport.h"
#include "kstring.h"
#include "kfile.h"

class KORVEL_API OptionFile {
public:
    OptionFile();
    OptionFile(const OptionFile& other) = default;
    OptionFile& operator=(const OptionFile& other) = default;
    virtual ~OptionFile();

    // Reads path (macros replaced); with remember, path becomes this object's
    // file first. A file that does not exist gives false without a box
    // unless setMustExist(true). Other failures show "Could not load option
    // file" (01-1013).
    bool load(const KString& path, bool remember);
    // load(getPath(), true).
    bool load();
    // Writes path, creating missing directories; with remember, path becomes
    // this object's file. Failures show "Could not store option file." (01-1014).
    bool store(const KString& path, bool remember);
    // store(getPath(), true).
    bool store();

    // The same reading and writing without the box: a failure throws
    // KorvelException, leaving the settings (_load) or the file (_store) as
    // they were. _load reads any existing file; neither remembers path.
    void _load(const KString& path);
    void _store(const KString& path);

    // True once a load has succeeded.
    bool isLoaded() const { return loaded; }
    void setMustExist(bool must) { mustExist = must; }
    bool getMustExist() const { return mustExist; }
    const KString& getPath() const { return path; }
    void setPath(const KString& p) { path = p; }
    // The kind of settings, as written into the header.
    const KString& getName() const { return name; }
    int getVersion() const { return version; }

protected:
    // Hooks: before a store; after a load; after the header and before the
    // body, on both (to switch scrambling on with file.setEncrypt).
    virtual void storeHandler();
    virtual void loadHandler();
    virtual void encryptHandler(KFile& file);
    // Moves the body. version is the file's when loading, this object's when
    // storing. A load also calls it to keep a copy of the settings in a
    // scratch file (writing, then reading back on failure, with this
    // object's version), so it should only move fields.
    virtual void IO(KFile& file, int version) = 0;

    int version;
    KString path;
    KString name;
    bool mustExist;
    bool loaded;

private:
    // Header, hook and body into a temporary file that then replaces path.
    void writeFile(const KString& path);
    // The body into a scratch file, and back from it after a failed load.
    void saveSettings(KFile& snapshot);
    void restoreSettings(KFile& snapshot);
};

// The sixteen custom colours of the colour chooser ("Custom Color Options",
// version 1): 16 Windows colours, 64 bytes.
class KORVEL_API CustomColorOptions : public OptionFile {
public:
    static const int NumColors = 16;

    // Black, white, the button face colour, red, green, blue, yellow, cyan,
    // magenta, grey, azure, dark red, dark green, dark blue, cream, black.
    CustomColorOptions();

    // Colour i, 0 <= i < 16; not checked.
    COLORREF& operator[](int i) { return colors[i]; }
    COLORREF operator[](int i) const { return colors[i]; }
    // The sixteen colours in one array, as CHOOSECOLORW's lpCustColors wants them.
    COLORREF* getColors() { return colors; }

protected:
    void IO(KFile& file, int version) override;

private:
    COLORREF colors[NumColors];
};

// The custom colours shared by the colour chooser and the colour prompts.
extern KORVEL_API CustomColorOptions CustColorOpt;

#endif
