// Child of the colour chooser test: "store <file> <colour>" answers the colour
// dialog with that colour added to the custom colours and prints the choice
// and the custom colours; "read <file>" prints the custom colours kept there.
#include <stdio.h>
#include <stdlib.h>
#include "test_support.h"
#include "kcolordlg.h"

static void PrintCustom()
{
    for (int i = 0; i < 16; ++i)
        printf("%06lx\n", (unsigned long)CustColorOpt[i]);
}

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    CustColorOpt.setPath(KString(argv[2]));
    if (argc == 4 && !strcmp(argv[1], "store")) {
        const COLORREF want = (COLORREF)strtoul(argv[3], nullptr, 0);
        ColorDialogAnswer answer;
        answer.colour = RGB(want >> 16 & 255, want >> 8 & 255, want & 255);
        answer.addCustom = true;
        AnswerColorDialog(answer);
        COLORREF colour = 0;
        if (!KColorDlg().choose(nullptr, &colour))
            return 3;
        printf("chosen %02x%02x%02x\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
        PrintCustom();
        return 0;
    }
    if (!strcmp(argv[1], "read") && CustColorOpt.load()) {
        PrintCustom();
        return 0;
    }
    return 4;
}
