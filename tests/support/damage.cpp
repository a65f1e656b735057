// Damaged input: records built by hand, damaged at random, and the oracle
// that decodes them as the file formats define them.
#include "test_support.h"
#include <stdio.h>
#include <string.h>

void Put16(Bytes& b, unsigned v)
{
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

void Put32(Bytes& b, unsigned v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

static unsigned Get16(const Bytes& b, size_t at)
{
    return b[at] | (b[at + 1] << 8);
}

unsigned Get32(const Bytes& b, size_t at)
{
    return Get16(b, at) | (Get16(b, at + 2) << 16);
}

void Set32(Bytes& b, size_t at, unsigned v)
{
    for (int k = 0; k < 4; ++k)
        b[at + k] = (unsigned char)(v >> (8 * k));
}

Bytes HeaderBytes(const std::wstring& kind, unsigned version, unsigned layout)
{
    Bytes b;
    Put32(b, 0x12345678);
    Put32(b, layout);
    Put32(b, 100);
    for (size_t k = 0; k < 101; ++k)
        Put16(b, k < kind.size() ? kind[k] : 0);
    Put16(b, version);
    Put16(b, 0);
    if (layout >= 2) {
        Put16(b, 6);
        Put16(b, 3);
    }
    Put32(b, 0);
    return b;
}

void PutString(Bytes& b, const std::vector<unsigned>& units, unsigned terminator)
{
    Put32(b, (unsigned)units.size());
    for (unsigned u : units)
        Put16(b, u);
    Put16(b, terminator);
}

void PutRandomString(Random& r, Bytes& b)
{
    std::vector<unsigned> units(r.below(24));
    for (unsigned& u : units)
        u = r.below(10) == 0 ? 0 : 1 + r.below(0xFFFF);
    const unsigned end = r.below(10);
    PutString(b, units, end == 0 ? 1 : end == 1 ? 2 + r.below(0xFFFE) : 0);
}

Bytes RandomBytes(Random& r, unsigned maxLen)
{
    Bytes b(r.below(maxLen + 1));
    for (unsigned char& c : b)
        c = (unsigned char)r.next();
    return b;
}

void Damage(Random& r, Bytes& b, size_t countAt)
{
    switch (r.below(6)) {
    case 0:
        break; // intact
    case 1:
    case 2:
        b.resize(r.below((unsigned)b.size() + 1));
        break;
    case 3:
        for (unsigned flips = 1 + r.below(3); flips > 0 && !b.empty(); --flips)
            b[r.below((unsigned)b.size())] ^= (unsigned char)(1 << r.below(8));
        break;
    case 4:
        if (countAt != std::string::npos && countAt + 4 <= b.size()) {
            static const unsigned counts[] = {1000000, 1000001, 0xFFFFFFFF, 0x80000000, 3, 40};
            Set32(b, countAt, r.below(2) ? counts[r.below(6)] : r.next());
        }
        break;
    default:
        for (unsigned extra = r.below(10); extra > 0; --extra)
            b.push_back((unsigned char)r.next());
        break;
    }
}

bool RecordOracle::have(size_t n)
{
    if (error.empty() && b.size() >= at + n)
        return true;
    if (error.empty())
        error = "Error reading \"" + shown + "\".\nEOF while reading.";
    return false;
}

bool RecordOracle::header(const std::wstring& kind, KFileHeader* h)
{
    // magic, layout, name length, 101 name units, version, sub-version,
    // [library version major and minor,] extra
    if (!have(218))
        return false;
    const int layout = (int)Get32(b, at + 4);
    const size_t size = layout >= 2 ? 226 : 222;
    if (!have(size))
        return false;
    std::wstring stored;
    for (int k = 0; k < 100 && Get16(b, at + 12 + 2 * k) != 0; ++k)
        stored += (wchar_t)Get16(b, at + 12 + 2 * k);
    if (stored != kind) {
        error = "Not a \"" + Narrow(kind) + "\" file.";
        return false;
    }
    if (h) {
        h->magic = Get32(b, at);
        wcsncpy(h->name, stored.c_str(), 100);
        h->name[100] = 0;
        h->version = (short)Get16(b, at + 214);
        h->subVersion = (short)Get16(b, at + 216);
        h->libVersionMajor = layout >= 2 ? (short)Get16(b, at + 218) : 0;
        h->libVersionMinor = layout >= 2 ? (short)Get16(b, at + 220) : 0;
        h->extra = (int)Get32(b, at + size - 4);
    }
    at += size;
    return true;
}

bool RecordOracle::u32(unsigned* v)
{
    if (!have(4))
        return false;
    if (v)
        *v = Get32(b, at);
    at += 4;
    return true;
}

bool RecordOracle::raw(size_t n, void* out)
{
    if (!have(n))
        return false;
    if (out && n)
        memcpy(out, &b[at], n);
    at += n;
    return true;
}

bool RecordOracle::string(std::wstring* text)
{
    unsigned n = 0;
    if (!u32(&n))
        return false;
    if (n > 1000000) {
        error = "Invalid length=" + std::to_string((int)n) + " in KString::read()\nFile " + shown +
                " offset=" + std::to_string(at) + ".";
        return false;
    }
    if (!have(2 * (size_t)n + 2))
        return false;
    const unsigned t = Get16(b, at + 2 * n);
    if (t > 1) {
        error = "Invalid terminator=" + std::to_string(t) + " in KString::read()\nFile \"" + shown + "\".";
        return false;
    }
    if (text) {
        text->clear();
        for (unsigned k = 0; k < n && Get16(b, at + 2 * k) != 0; ++k)
            *text += (wchar_t)Get16(b, at + 2 * k);
    }
    at += 2 * (size_t)n + 2;
    return true;
}

void Tally::add(const std::string& error)
{
    ++count;
    ++kinds[error.substr(0, error.find_first_of("=\""))];
}

int Tally::operator[](const std::string& start) const
{
    auto it = kinds.find(start);
    return it == kinds.end() ? 0 : it->second;
}

void Tally::print(const char* what, int inputs) const
{
    printf("%s: %d inputs, %d read, %d refused\n", what, inputs, inputs - count, count);
    for (const auto& kind : kinds)
        printf("  %5d  %s...\n", kind.second, kind.first.c_str());
}
