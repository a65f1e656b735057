// The demo's form rendered in a test: the layouts where its attachments put them, and its
// picture kept as bin/layouts.bmp.
#include <gtest/gtest.h>
#include "test_support.h"
#include "../../examples/demo/layouts.h"

TEST(Demo, TheDemoFormPlacesItsLayouts)
{
    WindowOwner windows;
    KWindow* stage = ShownPopup(windows, 10, 10, 460, 300);
    KArgList args;
    args.add(WA_CLIENT_WIDTH, 460);
    args.add(WA_CLIENT_HEIGHT, 300);
    KForm* form = MakeForm(stage, &args);
    const demo::Layouts l = demo::BuildLayouts(form);
    const KRECT f = {l.frame->X(), l.frame->Y(), l.frame->X() + l.frame->Width(), l.frame->Y() + l.frame->Height()};
    EXPECT_EQ((std::vector<long>{10, 10}), (std::vector<long>{f.left, f.top}));
    EXPECT_EQ((std::vector<long>{f.right + 10, 16, 450}),
              (std::vector<long>{l.grid->X(), l.grid->Y(), l.grid->X() + l.grid->Width()}));
    EXPECT_EQ((std::vector<long>{10, f.bottom + 10, 440, 290}),
              (std::vector<long>{l.tabs->X(), l.tabs->Y(), l.tabs->Width(), l.tabs->Y() + l.tabs->Height()}));
    EXPECT_LE(l.table->X() + l.table->Width(), l.frame->width()) << "the table fits in its frame";

    UpdateWindow(*stage);
    PumpMessages();
    KMemDC picture(460, 300);
    form->dump(picture, 0, 0, 0);
    SaveBitmap(ProgramDir() + L"layouts.bmp", picture);
    const std::vector<DWORD> pixels = Pixels(picture);
    const DWORD face = pixels[5]; // the form's own background, left of the frame
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [&](DWORD p) { return p != face; }), 20000)
        << "panels, tabs and frames were drawn";
}
