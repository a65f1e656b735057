// KFrame: a titled group box that fits itself round its children and
// stretches them to its interior.
//
//     KFrame* box = MakeFrame(form, &args, "Channel %d", 3);
//     MakeWindow(box, &inner);   // placed inside the border, below the title
//     box->configure(false);     // the frame takes the size of its content
#ifndef KORVEL_KFRAME_H
#define KORVEL_KFRAME_H

#include "kwindow.h"

class KORVEL_API KFrame : public KWindow {
public:
    ~KFrame() override;
    // A new title: the frame is cleared and drawn again.
    void setText(const wchar_t* title);
    void wprintf(const char* format, ...);
    const KString& getText() const { return text; }
    void draw();
    void exposeHandler(KWindow*, ExposeEvent*);
    void resizeHandler(KWindow*, ResizeEvent*);
    // Fits the frame to its largest child plus title and margins.
    void configure(bool resize) override;
    void setValues(KArgList* args) override;

protected:
    KFrame();
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API KFrame* MakeFrame(KWindow* parent, KArgList* args);
    friend KORVEL_API KFrame* MakeFrame(KWindow* parent, KArgList* args, const char* format, ...);

    KString text;
    HFONT font;
    int titleHeight = 0;
    int marginWidth = 2;
    bool resizing = false;
    bool drawFrame = true;
};

KORVEL_API KFrame* MakeFrame(KWindow* parent, KArgList* args);
// The title formatted from format and the arguments.
KORVEL_API KFrame* MakeFrame(KWindow* parent, KArgList* args, const char* format, ...);

#endif
