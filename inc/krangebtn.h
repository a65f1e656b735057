// KRangeBtn<T>: a spin field for an int or a double between a minimum and a
// maximum. The value is typed into the box or stepped: a left press on the
// spin arrows adds the step (wrapping to the minimum at the end), a right
// press subtracts it (wrapping to the maximum), a middle press sets the
// minimum; the Up and Down keys step without wrapping. Shift multiplies the
// step by 10, Control by 100, both by 1000. A held press repeats.
//
//     KArgList none;
//     KRangeBtn<double>* gain =
//         MakeRangeBtn<double>(form, &none, L"Gain", 8, 6, 1.0, 0.0, 20.0, 0.5, "%.1f dB");
//     gain->_addEventHandler(new PromptEventHandler<Panel>(this, 0, &Panel::gainChanged));
//     double g = gain->getValue();
//
// The format holds one conversion for the value; text after it (a unit, " dB"
// above) is shown right-aligned in the box. A field left with text outside
// the range, or text that is no number, gets back the value it had when it
// took the focus.
#ifndef KORVEL_KRANGEBTN_H
#define KORVEL_KRANGEBTN_H

#include "kprompt.h"

template <class T>
class KRangeBtn : public KPromptLab {
public:
    typedef KString (*Formatter)(T value);

    KRangeBtn(const KString& prompt, int promptFW, int fieldWidth, T value, T minimum, T maximum,
              T step, const char* format);
    ~KRangeBtn() override;
    void init(KWindow* parent, KArgList* args);

    bool isValidChar(int c) override;
    void gainFocusHandler() override;
    void loseFocusHandler() override;
    bool editChangeHandler() override;
    void arrowHandler(int direction, bool shift) override;
    void mouseHandler(KWindow* w, MouseEvent* e) override;

    T getValue() const { return value; }
    // Sets the value (not checked against the range) and rewrites the text.
    void setValue(T v);
    void setRange(T minimum, T maximum);
    void setStep(T s) { step = s; }
    T getMinimum() const { return minimum; }
    T getMaximum() const { return maximum; }
    T getStep() const { return step; }
    bool isInvalid() const { return invalid; }
    // Shows text instead of the number while the value equals special.
    void setSpecial(const KString& text, T special);
    // Writes the value through f instead of the format; typed text is then
    // not read back.
    void setFormatter(Formatter f);
    const char* getFormat() const { return format; }

    // Steps as a press of e would: wrap is the mouse's behaviour. False when
    // nothing stepped.
    bool stepValue(const MouseEvent& e, bool wrap);
    // Writes the value (or the special text) into the box.
    void writeText();

protected:
    char format[64];
    bool invalid = false;
    KString specialText;
    T specialValue = T();
    T value, savedValue, minimum, maximum, step;
    Formatter formatter = nullptr;
};

extern template class KORVEL_API KRangeBtn<int>;
extern template class KORVEL_API KRangeBtn<double>;

template <class T>
KRangeBtn<T>* MakeRangeBtn(KWindow* parent, KArgList* args, const KString& prompt, int promptFW,
                           int fieldWidth, T value, T minimum, T maximum, T step, const char* format)
{
    auto* field = new KRangeBtn<T>(prompt, promptFW, fieldWidth, value, minimum, maximum, step, format);
    field->init(parent, args);
    return field;
}

#endif
