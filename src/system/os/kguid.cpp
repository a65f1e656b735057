// GUIDs and their registry text form, through COM's own conversions.
#include <objbase.h>
#include "kservices.h"
#include "kmemory.h"

KGUID::KGUID(const wchar_t* text)
{
    // IIDFromString takes a non-const string in older SDK headers.
    if (FAILED(IIDFromString(const_cast<wchar_t*>(text), &guid)))
        Fatal("KGUID", 14, "KGUID(string='%U' failed", text);
}

KString KGUID::getString() const
{
    wchar_t text[512];
    if (!StringFromGUID2(guid, text, 512))
        Fatal("KGUID", 21, "StringFromGUID2 failed");
    return KString(text);
}
