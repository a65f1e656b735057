// The demo's input page: a dialog asking for every kind of value the library
// offers, its prompt fields lined up in one column, with a multi-line note
// and a list of channels beside them.
#include "inputs.h"

namespace demo {

namespace {

const int PROMPT_WIDTH = 9; // the prompts' column, in widths of "A"

class InputDialog : public KDialog {
public:
    InputDialog(KWindow* owner, bool openUnitList) : KDialog(owner, L"Demo Input", MESSAGE_WIN)
    {
        KArgList none;
        init(nullptr, &none);
        KForm* form = getWorkArea();
        KWindow* fields[] = {
            MakeEditPrompt(form, &none, L"Operator", PROMPT_WIDTH, 14),
            MakeNumericPrompt(form, &none, L"Address", PROMPT_WIDTH, 6),
            MakeRangeBtn<double>(form, &none, L"Gain", PROMPT_WIDTH, 8, 1.5, 0.0, 20.0, 0.5, "%.1f dB"),
            MakeRangeBtn<int>(form, &none, L"Samples", PROMPT_WIDTH, 8, 1024, 16, 65536, 16, "%d"),
            unit = makeUnitBox(form),
            MakeColorPrompt(form, &none, L"Trace", PROMPT_WIDTH, 8, RGB(200, 0, 0)),
        };
        static_cast<KEditPrompt*>(fields[0])->setText(KString(L"A. Meier"));
        static_cast<KNumericPrompt*>(fields[1])->setText(KString(L"1F"));
        stack(form, fields, sizeof fields / sizeof fields[0]);

        KWindow* notes = makeNotes(form);
        form->attach(notes, SIDE_LEFT, fields[0]);
        form->attachForm(notes, SIDE_TOP);
        form->attachOff(notes, SIDE_LEFT, 12, SIDE_TOP, 6);
        KWindow* channels = makeChannels(form);
        form->attach(channels, SIDE_LEFT, fields[0]);
        form->attach(channels, SIDE_TOP, notes);
        form->attachOff(channels, SIDE_LEFT, 12, SIDE_TOP, 6);
        form->attachForm(notes, SIDE_RIGHT);
        form->attachForm(channels, SIDE_RIGHT);
        form->attachOff(notes, SIDE_RIGHT, 6);
        form->attachOff(channels, SIDE_RIGHT, 6);
        configureAll(false);
        mprintf("Up and Down step a field; Alt+Down opens a list");
        // Once the dialog is up and painted, the unit list drops down.
        if (openUnitList) {
            opener.setHandler(new TimerEventHandler<InputDialog>(this, &InputDialog::openUnits));
            opener.start(800);
        }
    }

private:
    void openUnits()
    {
        opener.stop();
        unit->dropDownList();
    }

    // Each field under the one before, all left-aligned: their boxes line up
    // because the prompts share one width.
    static void stack(KForm* form, KWindow** fields, int count)
    {
        for (int i = 0; i < count; ++i) {
            form->attachForm(fields[i], SIDE_LEFT);
            form->attachOff(fields[i], SIDE_LEFT, 6);
            if (i == 0)
                form->attachForm(fields[i], SIDE_TOP);
            else
                form->attach(fields[i], SIDE_TOP, fields[i - 1]);
            form->attachOff(fields[i], SIDE_TOP, 6);
        }
    }

    static KComboBox* makeUnitBox(KForm* form)
    {
        KArgList args;
        args.add(WA_NUM_DISP_ROW, 5);
        KComboBox* box = MakeComboBox(form, &args, L"Unit", PROMPT_WIDTH, 10);
        const wchar_t* units[] = {L"Volt", L"Ampere", L"Ohm", L"Watt", L"Hertz", L"Farad", L"Henry", L"Lux"};
        for (int i = 0; i < 8; ++i)
            box->addString(i, units[i], RGB(0, 0, 0), RGB(255, 255, 255));
        box->setCurSel(6, false);
        return box;
    }

    static KWindow* makeNotes(KForm* form)
    {
        KArgList args;
        args.add(WA_NUM_CHAR, 24);
        args.add(WA_NUM_LINE, 4);
        args.add(WA_VERT_SCROLL, true);
        KEditControl* notes = MakeEditControl(form, &args);
        notes->setText(KString(L"Run 12, probe B\nDrift below 0.2 %\nCalibrated 2026-11-30"), false);
        return notes;
    }

    static KWindow* makeChannels(KForm* form)
    {
        KArgList args;
        KListBox* list = MakeListBox(form, &args, 24, 5);
        const wchar_t* names[] = {L"1 Supply voltage", L"2 Load current", L"3 Temperature", L"4 Pressure",
                                  L"5 Flow", L"6 Humidity"};
        for (int i = 0; i < 6; ++i)
            list->addString(i + 1, names[i]);
        list->setCurSel(2);
        return list;
    }

    KComboBox* unit = nullptr;
    KTimer opener;
};

} // namespace

void ShowInputDialog(KWindow* owner, bool openUnitList)
{
    ShowDialog(new InputDialog(owner, openUnitList), false, nullptr);
}

} // namespace demo
