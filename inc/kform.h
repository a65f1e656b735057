// KForm: the attachment form, the layout container that top-level windows and
// dialogs build on. Each side of each child is attached to nothing, to the
// form's edge, to the facing edge of another child, to the same edge of
// another child, or to a fraction of the form's extent; every configure turns
// the attachments into one linear system per direction and places the
// children in one batch.
//
//     KForm* form = MakeForm(parent, &args);
//     KWindow* list = MakeWindow(form, &listArgs);
//     KWindow* bar = MakeWindow(form, &barArgs);
//     form->attachForm(bar, SIDE_LEFT, SIDE_RIGHT, SIDE_BOTTOM);   // along the bottom
//     form->attachForm(list, SIDE_LEFT, SIDE_RIGHT, SIDE_TOP);
//     form->attach(list, SIDE_BOTTOM, bar);                         // down to the bar
//     form->attachOff(list, SIDE_BOTTOM, 4);                        // 4 free pixels apart
//
// The attach operations change only the constraints; the form is laid out on
// its next resize or configure. A free side keeps the child's current
// position or size. A form without a size (client width or height 0) first
// takes its natural size from chains of attachments. A direction the
// attachments leave undetermined is reported ("Could not configure Form
// widget.", 1-1005) and its children collapse to one pixel in it.
#ifndef KORVEL_KFORM_H
#define KORVEL_KFORM_H

#include "kwindow.h"
#include "kmatrix.h"

enum AttachSide { SIDE_LEFT = 0, SIDE_RIGHT = 1, SIDE_TOP = 2, SIDE_BOTTOM = 3, SIDE_NONE = 4 };
enum Orientation { HORIZONTAL = 0, VERTICAL = 1 };
enum AttachKind {
    ATTACH_NONE = 0,            // free
    ATTACH_FORM = 1,            // offset pixels inside the form's edge
    ATTACH_WIDGET = 2,          // offset pixels beyond the facing edge of another child
    ATTACH_OPPOSITE_WIDGET = 3, // at the same edge of another child, offset pixels inwards
    ATTACH_POSITION = 5         // at a fraction of the form's extent
};

// The attachments of one child of a form, indexed by AttachSide.
class KORVEL_API FormConstraint : public KParentData {
public:
    // All sides free; offsets in the order left, right, top, bottom.
    explicit FormConstraint(const int* offsets);
    // The solver's variable of the named child's edge: 2 x its child index +
    // (edge mod 2).
    int Index(AttachSide side, AttachSide edge) const;

    int kind[4];
    KWindow* widget[4];
    double position[4];
    int offset[4];
};

class KORVEL_API KForm : public KWindow {
public:
    ~KForm() override;

    // --- Attachments ---
    // To the facing edge of other (to the form when other is null or the form).
    void attach(KWindow* child, AttachSide side, KWindow* other);
    // Up to four sides to the form's edges (SIDE_NONE fills unused places).
    void attachForm(KWindow* child, AttachSide s1, AttachSide s2 = SIDE_NONE, AttachSide s3 = SIDE_NONE,
                    AttachSide s4 = SIDE_NONE);
    void attachOpp(KWindow* child, AttachSide side, KWindow* other);
    void attachFrac(KWindow* child, AttachSide side, double fraction);
    void attachNone(KWindow* child, AttachSide side);
    // Offsets of up to four sides; the kinds stay.
    void attachOff(KWindow* child, AttachSide s1, int o1, AttachSide s2 = SIDE_NONE, int o2 = 0,
                   AttachSide s3 = SIDE_NONE, int o3 = 0, AttachSide s4 = SIDE_NONE, int o4 = 0);
    FormConstraint* getConstraint(KWindow* child) const;
    FormConstraint* getCons(int i) const { return getConstraint(child(i)); }
    // A fresh constraint with the default offsets (the previous one is deleted).
    void initConstraint(KWindow* child);

    // --- Offsets given to children made from now on ---
    void setDefaultOffset(int o);
    void setDefaultHorizontalOffset(int o);
    void setDefaultVerticalOffset(int o);

    // --- Layout ---
    void configure(bool resize) override;
    // Forgets the size and lays out again: the form takes its natural size.
    void reconfigureContainer() override;
    void setValues(KArgList* args) override;
    void removeChild(KWindow* child) override;
    void insertChild(KWindow* child, KArgList* args) override;
    void resizeHandler(KWindow*, ResizeEvent*);
    bool isConfiguring() const { return configuring; }

protected:
    KForm() = default;
    void init(KWindow* parent, KArgList* args);
    friend KORVEL_API KForm* MakeForm(KWindow* parent, KArgList* args);

    // The edges of the children in one direction (low and high edge of child
    // i at rows 2i and 2i + 1). The equations are solved along their chains;
    // dense solves them by Gauss-Jordan elimination instead, with the same
    // results.
    void _computeConfig(KMatrix<double>& result, Orientation o, bool dense = false);

    bool configuring = false;
    int defaultOffset[4] = {0, 0, 0, 0};

private:
    FormConstraint* constraintOf(KWindow* child, AttachSide side);
    int _initialSize(Orientation o);
    void layOut();
};

KORVEL_API KForm* MakeForm(KWindow* parent, KArgList* args);

#endif
