// The command line split into name:value records.
#include "kapp.h"
#include <wctype.h>

namespace {

// The token being collected; tokens longer than 255 characters are cut.
class TokenBuffer {
public:
    void add(wchar_t c)
    {
        if (n < 255)
            text[n++] = c;
    }
    bool empty() const { return n == 0; }
    KString take()
    {
        text[n] = 0;
        n = 0;
        return KString(text);
    }
private:
    wchar_t text[256];
    int n = 0;
};

} // namespace

KArray<KCmdArg> GetCommandArgs()
{
    KArray<KCmdArg> records(0);
    KCmdArg arg;
    TokenBuffer buffer;
    bool quoted = false, haveName = false;

    // A name followed by a colon and nothing else still makes a record.
    auto endToken = [&]() {
        if (buffer.empty() && !haveName)
            return;
        if (!buffer.empty())
            (haveName ? arg.value : arg.name) = buffer.take();
        records.append(arg);
        arg.clear();
        haveName = false;
    };

    for (const wchar_t* p = GetCommandLineW(); *p; ++p) {
        const wchar_t c = *p;
        if (c == L'"') {
            quoted = !quoted;
            if (!quoted)
                endToken();
        } else if (c == L':' && !quoted && !haveName && p[1] != L'\\') {
            if (!buffer.empty())
                arg.name = buffer.take();
            haveName = true;
        } else if (iswspace(c) && !quoted) {
            endToken();
        } else {
            buffer.add(c);
        }
    }
    // The end of the text ends a token only outside quotes: the text after a
    // quote that is never closed makes no record.
    if (!quoted)
        endToken();
    return records;
}
