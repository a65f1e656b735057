// KRangeBtn<T>: the spin field, instantiated for int and double.
#include "krangebtn.h"
#include "kformat.h"
#include "kvalue.h"
#include "kgraphics.h"
#include <stdio.h>
#include <type_traits>

namespace {

bool ReadNumber(int* out, const wchar_t* text) { return string_to_value(out, text, 10); }
bool ReadNumber(double* out, const wchar_t* text) { return string_to_value(out, text); }

// The step a press makes: Shift 10 times, Control 100, both 1000.
template <class T>
T ScaledStep(T step, unsigned long modifiers)
{
    switch (modifiers & 3) {
    case 1: return step * 10;
    case 2: return step * 100;
    case 3: return step * 1000;
    default: return step;
    }
}

} // namespace

template <class T>
KRangeBtn<T>::KRangeBtn(const KString& p, int pfw, int width, T v, T lo, T hi, T s, const char* fmt)
    : KPromptLab(p, pfw, width), value(v), savedValue(v), minimum(lo), maximum(hi), step(s)
{
    KFormatSpec conversion;
    conversion.parseFormat(fmt ? fmt : "");
    // At most 63 characters of the conversion are kept.
    snprintf(format, sizeof format, "%.63s", conversion.format);
    rightText = KString(conversion.suffix);
    alignX = 2;
    hasEdit = true;
    iconExtra = true;
    joinTabGroup = true;
    textFont = DEFAULT_FIXED_FONT;
}

template <class T>
KRangeBtn<T>::~KRangeBtn() = default;

template <class T>
void KRangeBtn<T>::init(KWindow* parent, KArgList* args)
{
    iconStyle = 2;
    KPromptLab::init(parent, args);
    enterLeaveEnabled = true;
    writeText();
    setDelay(500, 30);
}

template <class T>
bool KRangeBtn<T>::isValidChar(int c)
{
    if ((c >= '0' && c <= '9') || c == '+' || c == '-')
        return true;
    return std::is_floating_point<T>::value && (c == '.' || c == 'E' || c == 'e');
}

template <class T>
void KRangeBtn<T>::writeText()
{
    if (specialText.notNull() && value == specialValue) {
        showRight = false;
        setText(specialText);
        return;
    }
    showRight = true;
    if (formatter) {
        setText(formatter(value));
        return;
    }
    KString t;
    t.set(format, value);
    setText(t);
}

template <class T>
void KRangeBtn<T>::setValue(T v)
{
    value = v;
    invalid = false;
    writeText();
}

template <class T>
void KRangeBtn<T>::setRange(T lo, T hi)
{
    minimum = lo;
    maximum = hi;
}

template <class T>
void KRangeBtn<T>::setSpecial(const KString& t, T special)
{
    specialText = t;
    specialValue = special;
    writeText();
}

template <class T>
void KRangeBtn<T>::setFormatter(Formatter f)
{
    formatter = f;
    writeText();
}

template <class T>
void KRangeBtn<T>::gainFocusHandler()
{
    savedValue = value;
}

template <class T>
void KRangeBtn<T>::loseFocusHandler()
{
    T typed;
    if (!invalid && (formatter || ReadNumber(&typed, getText())))
        return;
    value = savedValue;
    invalid = false;
    writeText();
}

template <class T>
bool KRangeBtn<T>::editChangeHandler()
{
    T typed;
    if (!formatter && ReadNumber(&typed, getText())) {
        invalid = typed < minimum || typed > maximum;
        if (!invalid)
            value = typed;
    }
    return !invalid;
}

template <class T>
bool KRangeBtn<T>::stepValue(const MouseEvent& e, bool wrap)
{
    if (maximum < minimum || step > maximum - minimum || !(e.type & ME_PRESS))
        return false;
    const unsigned long button = e.type & (ME_LEFT | ME_MIDDLE | ME_RIGHT);
    if (button != ME_LEFT && button != ME_MIDDLE && button != ME_RIGHT)
        return false;
    if (value < minimum || value > maximum) {
        value = value < minimum ? minimum : maximum;
        return true;
    }
    const T s = ScaledStep(step, e.modifiers);
    if (button == ME_LEFT) {
        if (maximum - value >= s)
            value += s;
        else
            value = wrap ? minimum : maximum;
    } else if (button == ME_RIGHT) {
        if (value - minimum >= s)
            value -= s;
        else
            value = wrap ? maximum : minimum;
    } else {
        value = minimum;
    }
    return true;
}

template <class T>
void KRangeBtn<T>::arrowHandler(int direction, bool shift)
{
    MouseEvent e;
    e.window = this;
    e.type = ME_PRESS | (direction == 1 ? ME_LEFT : direction == -1 ? ME_RIGHT : ME_MIDDLE);
    e.modifiers = shift ? 1 : 0;
    stepValue(e, false);
    invalid = false;
    writeText();
    selectAll();
    changeNotify();
}

template <class T>
void KRangeBtn<T>::mouseHandler(KWindow*, MouseEvent* e)
{
    if (e->type & ME_PRESS) {
        if (e->repeatCount == 0) {
            HideCaret(editWin);
            iconPressed = true;
            draw(DRAW_BUTTON);
        }
        stepValue(*e, true);
        invalid = false;
        writeText();
        if (updateAlways)
            changeNotify();
        return;
    }
    if (!(e->type & ME_RELEASE))
        return;
    iconPressed = false;
    draw(DRAW_BUTTON);
    changeNotify();
    ShowCaret(editWin);
    selectAll();
}

template class KRangeBtn<int>;
template class KRangeBtn<double>;
