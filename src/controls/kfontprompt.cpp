// KFontPrompt: a combo box listing the font families of the display.
#include "kcombo.h"
#include "kgraphics.h"

KFontPrompt::KFontPrompt(const KString& prompt, int promptFW, int fieldWidth, const char* name)
    : KComboBox(prompt, promptFW, fieldWidth), fontName(name ? name : "")
{
}

KFontPrompt* MakeFontPrompt(KWindow* parent, KArgList* args, const KString& prompt, int promptFW, int fieldWidth,
                            const char* fontName)
{
    auto* field = new KFontPrompt(prompt, promptFW, fieldWidth, fontName);
    field->init(parent, args);
    return field;
}

KFontPrompt* MakeFontPrompt(KWindow* parent, KArgList* args, const KString& prompt, int fieldWidth,
                            const char* fontName)
{
    return MakeFontPrompt(parent, args, prompt, -1, fieldWidth, fontName);
}

void KFontPrompt::init(KWindow* parent, KArgList* args)
{
    KArgList list;
    if (args)
        list = *args;
    list.add(WA_SORT, true);
    KComboBox::init(parent, &list);
    {
        KWinDC dc(this);
        EnumFontFamiliesW(dc, nullptr, &KFontPrompt::addFamily, (LPARAM)this);
    }
    selectString(fontName, false);
}

// Called by GDI: nothing may be thrown back through it.
int CALLBACK KFontPrompt::addFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM self)
{
    try {
        ((KFontPrompt*)self)->addString(font->lfFaceName, RGB(0, 0, 0), RGB(255, 255, 255));
        return 1;
    } catch (...) {
        return 0;
    }
}
