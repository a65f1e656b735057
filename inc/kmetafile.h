// KMetaFile: an enhanced-metafile context that records a drawing, and the
// finished metafile it holds afterwards, stored in a file or in memory.
//
//     KMetaFile mf(L"c:\\plots\\curve.emf");       // recording, the screen as reference
//     mf.setPen(RGB(0, 0, 128));
//     mf.drawRect(DCRect(0, 0, 200, 100));
//     mf.closeDC();                                // finished: header and bounds read
//
//     KMetaFile again;
//     again.openFile(L"[BOOT_DIR]\\curve.emf");      // macros expanded by the caller
//     again.play(winDC, again.getBoundsRect());
//
// KDevContext::playMetaFile draws a metafile from a file or from the
// library's resources fitted into a rectangle (kgraphics.h).
#ifndef KORVEL_KMETAFILE_H
#define KORVEL_KMETAFILE_H

#include <windows.h>
#include "kexport.h"
#include "kgraphics.h"
#include "kstring.h"

static_assert(sizeof(ENHMETAHEADER) == 108, "the whole metafile header is read and stored");

class KORVEL_API KMetaFile : public KDevContext {
public:
    // Nothing open.
    KMetaFile();
    // Starts recording into the file (in memory when fileName is null) with
    // the screen as reference.
    explicit KMetaFile(const wchar_t* fileName);
    // Starts recording with ref as reference; width() and height() are then
    // the resolution of the recording context.
    KMetaFile(const wchar_t* fileName, KDevContext& ref);
    ~KMetaFile() override;

    int width() override { return mfWidth; }
    int height() override { return mfHeight; }

    // Closes what is open and starts recording with ref as reference.
    void create(const wchar_t* fileName, KDevContext& ref);
    // Ends the recording: the drawing becomes the finished metafile.
    void closeDC();
    void deleteMetaFile();
    // Ends the recording and deletes the metafile.
    void close();
    // Closes what is open and takes the metafile stored in the file; false
    // when it cannot be read.
    bool openFile(const wchar_t* fileName);

    // Draws the finished metafile into r on dc.
    BOOL play(KDevContext& dc, const KRECT& r);

    bool isRecording() const { return hdc != nullptr; }
    HENHMETAFILE getMetaFile() const { return hmf; }
    const ENHMETAHEADER& getHeader() const { return header; }
    // The bounds of the picture in device units of the recording.
    int boundsWidth() const { return header.rclBounds.right - header.rclBounds.left; }
    int boundsHeight() const { return header.rclBounds.bottom - header.rclBounds.top; }
    KRECT getBoundsRect() const;

protected:
    void start(HDC ref, const wchar_t* fileName);
    void readHeader();

    int mfWidth = 0;
    int mfHeight = 0;
    HENHMETAFILE hmf = nullptr;
    ENHMETAHEADER header;
};

#endif
