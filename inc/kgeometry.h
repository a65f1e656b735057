// Points and rectangles in device units (32-bit signed): the plain records
// that windows, events, files and device contexts share.
#ifndef KORVEL_KGEOMETRY_H
#define KORVEL_KGEOMETRY_H

struct KPOINT {
    long x;
    long y;
};

// A rectangle by its edges; right and bottom lie just outside it.
struct KRECT {
    long left, top, right, bottom;
};

// A rectangle as position and size.
struct DCRect {
    long x, y, w, h;
    DCRect(long x_ = 0, long y_ = 0, long w_ = 0, long h_ = 0) : x(x_), y(y_), w(w_), h(h_) {}
};

static_assert(sizeof(long) == 4, "device units are 32-bit, as on Windows");
static_assert(sizeof(KPOINT) == 8 && sizeof(KRECT) == 16, "geometry records are stored as they are");

#endif
