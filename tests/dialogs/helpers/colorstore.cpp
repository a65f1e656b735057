// Child of the colour chooser test. "store <file> <RRGGBB>" answers the colour dialog with that
// colour, added to the custom colours too, and prints the choice; "read <file>" loads the file.
// Both print the custom colours then.
#include <stdio.h>
#include <stdlib.h>
#include "test_support.h"

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    CustColorOpt.setPath(KString(argv[2]));
    if (!strcmp(argv[1], "store") && argc == 4) {
        const unsigned long rgb = strtoul(argv[3], nullptr, 16);
        ColorDialogAnswer answer;
        answer.colour = RGB(rgb >> 16, rgb >> 8 & 255, rgb & 255);
        answer.addCustom = true;
        AnswerColorDialog(answer);
        COLORREF colour = 0;
        if (!KColorDlg().choose(nullptr, &colour))
            return 3;
        printf("chosen %06lx\n", (unsigned long)colour);
    } else if (!CustColorOpt.load()) {
        return 4;
    }
    for (int i = 0; i < 16; ++i)
        printf("%06lx\n", (unsigned long)CustColorOpt[i]);
    return 0;
}
