// KForm: attachments, the linear system of each direction, natural sizes and
// the layout pass.
#include "kform.h"
#include "kapp.h"
#include <vector>

FormConstraint::FormConstraint(const int* offsets)
{
    for (int s = 0; s < 4; ++s) {
        kind[s] = ATTACH_NONE;
        widget[s] = nullptr;
        position[s] = 0.0;
        offset[s] = offsets ? offsets[s] : 0;
    }
}

int FormConstraint::Index(AttachSide side, AttachSide edge) const
{
    return 2 * widget[side]->childNum() + edge % 2;
}

KForm* MakeForm(KWindow* parent, KArgList* args)
{
    auto* form = new KForm;
    form->init(parent, args);
    return form;
}

KForm::~KForm() = default;

void KForm::init(KWindow* parent, KArgList* args)
{
    KWindow::init(parent, args);
    _addEventHandler(new ResizeEventHandler<KForm>(this, &KForm::resizeHandler));
}

void KForm::setValues(KArgList* args)
{
    KWindow::setValues(args);
    if (!args)
        return;
    for (int i = 0; i < args->numArg(); ++i) {
        if (args->attr(i) == WA_HORIZONTAL_MARGIN)
            setDefaultHorizontalOffset((int)args->val(i));
        else if (args->attr(i) == WA_VERTICAL_MARGIN)
            setDefaultVerticalOffset((int)args->val(i));
    }
}

void KForm::resizeHandler(KWindow*, ResizeEvent*)
{
    if (!configuring)
        configure(false);
}

// --- Constraints -----------------------------------------------------------------

FormConstraint* KForm::getConstraint(KWindow* child) const
{
    return child ? dynamic_cast<FormConstraint*>(child->getParentData()) : nullptr;
}

void KForm::initConstraint(KWindow* child)
{
    child->setParentData(new FormConstraint(defaultOffset));
}

void KForm::insertChild(KWindow* child, KArgList*)
{
    initConstraint(child);
}

// The constraint of a child for changing one side; null for a side that is
// no side or a window that is not a child of this form.
FormConstraint* KForm::constraintOf(KWindow* child, AttachSide side)
{
    if (side < SIDE_LEFT || side > SIDE_BOTTOM || !child || child->getParent() != this)
        return nullptr;
    return getConstraint(child);
}

static void SetSide(FormConstraint* c, AttachSide side, int kind, KWindow* widget, double position)
{
    c->kind[side] = kind;
    c->widget[side] = widget;
    c->position[side] = position;
}

void KForm::attach(KWindow* child, AttachSide side, KWindow* other)
{
    if (!other || other == this) {
        attachForm(child, side);
        return;
    }
    // Only another child of this form can be attached to: the equations
    // name it by its place among the children.
    if (other->getParent() != this || other == child)
        return;
    if (FormConstraint* c = constraintOf(child, side))
        SetSide(c, side, ATTACH_WIDGET, other, 0.0);
}

void KForm::attachForm(KWindow* child, AttachSide s1, AttachSide s2, AttachSide s3, AttachSide s4)
{
    for (AttachSide s : {s1, s2, s3, s4})
        if (FormConstraint* c = constraintOf(child, s))
            SetSide(c, s, ATTACH_FORM, nullptr, 0.0);
}

void KForm::attachOpp(KWindow* child, AttachSide side, KWindow* other)
{
    if (!other || other->getParent() != this || other == child)
        return;
    if (FormConstraint* c = constraintOf(child, side))
        SetSide(c, side, ATTACH_OPPOSITE_WIDGET, other, 0.0);
}

void KForm::attachFrac(KWindow* child, AttachSide side, double fraction)
{
    if (FormConstraint* c = constraintOf(child, side))
        SetSide(c, side, ATTACH_POSITION, nullptr, fraction);
}

void KForm::attachNone(KWindow* child, AttachSide side)
{
    if (FormConstraint* c = constraintOf(child, side))
        SetSide(c, side, ATTACH_NONE, nullptr, 0.0);
}

void KForm::attachOff(KWindow* child, AttachSide s1, int o1, AttachSide s2, int o2, AttachSide s3, int o3,
                      AttachSide s4, int o4)
{
    const AttachSide sides[4] = {s1, s2, s3, s4};
    const int offsets[4] = {o1, o2, o3, o4};
    for (int i = 0; i < 4; ++i)
        if (FormConstraint* c = constraintOf(child, sides[i]))
            c->offset[sides[i]] = offsets[i];
}

void KForm::setDefaultOffset(int o)
{
    setDefaultHorizontalOffset(o);
    setDefaultVerticalOffset(o);
}

void KForm::setDefaultHorizontalOffset(int o)
{
    defaultOffset[SIDE_LEFT] = defaultOffset[SIDE_RIGHT] = o;
}

void KForm::setDefaultVerticalOffset(int o)
{
    defaultOffset[SIDE_TOP] = defaultOffset[SIDE_BOTTOM] = o;
}

void KForm::removeChild(KWindow* gone)
{
    if (destroying)
        return;
    for (int i = 0; i < numChild(); ++i)
        for (int s = SIDE_LEFT; s <= SIDE_BOTTOM; ++s)
            if (FormConstraint* c = getCons(i))
                if (c->widget[s] == gone)
                    SetSide(c, (AttachSide)s, ATTACH_NONE, nullptr, 0.0);
    // The removed child is still in the list while its parent hears of it;
    // its equations would name a window about to go, so it leaves the pass.
    if (FormConstraint* c = getConstraint(gone))
        for (int s = SIDE_LEFT; s <= SIDE_BOTTOM; ++s)
            SetSide(c, (AttachSide)s, ATTACH_NONE, nullptr, 0.0);
    configure(false);
}

void KForm::reconfigureContainer()
{
    clientWidth = 0;
    clientHeight = 0;
    configure(false);
}

// --- The equations ------------------------------------------------------------------

namespace {

// One equation of a direction: own variable - other variable = constant, or
// own variable = constant when other is -1; none for a side kind that gives
// no equation.
struct Equation {
    int other = -1;
    double constant = 0;
    bool none = false;
};

// Solves the equations by the dense Gauss-Jordan elimination.
KMatrix<double> SolveDense(const std::vector<Equation>& eq)
{
    const int n = (int)eq.size();
    KMatrix<double> A(n, n), b(n, 1);
    for (int r = 0; r < n; ++r) {
        if (eq[(size_t)r].none)
            continue;
        A(r, r) = 1;
        if (eq[(size_t)r].other >= 0)
            A(r, eq[(size_t)r].other) = -1;
        b(r, 0) = eq[(size_t)r].constant;
    }
    return b / A;
}

// The same solution in linear time. Every equation ties its variable to at
// most one other, so each variable is its constant plus the value of the
// variable it leans on, down to one with a fixed value. A chain that runs in
// a ring, or reaches a side without an equation, leaves the system singular,
// exactly where the elimination finds no pivot; the same error is thrown.
KMatrix<double> SolveChains(const std::vector<Equation>& eq)
{
    const int n = (int)eq.size();
    KMatrix<double> x(n, 1);
    enum { Open, Walking, Done };
    std::vector<char> state((size_t)n, Open);
    std::vector<int> path;
    for (int start = 0; start < n; ++start) {
        path.clear();
        int r = start;
        while (state[(size_t)r] == Open) {
            if (eq[(size_t)r].none)
                throw KorvelException(3, "No normalizable rows in KMatrix operator /");
            state[(size_t)r] = Walking;
            path.push_back(r);
            if (eq[(size_t)r].other < 0)
                break;
            r = eq[(size_t)r].other;
        }
        // Back on the walk itself, not at a fixed value: a ring.
        if (state[(size_t)r] == Walking && eq[(size_t)r].other >= 0)
            throw KorvelException(3, "No normalizable rows in KMatrix operator /");
        // Back along the path: each variable from the one it leans on.
        for (size_t k = path.size(); k-- > 0;) {
            const int v = path[k];
            const Equation& e = eq[(size_t)v];
            x(v, 0) = e.other < 0 ? e.constant : e.constant + x(e.other, 0);
            state[(size_t)v] = Done;
        }
    }
    return x;
}

} // namespace

void KForm::_computeConfig(KMatrix<double>& result, Orientation o, bool dense)
{
    const int n = numChild();
    const AttachSide lo = o == HORIZONTAL ? SIDE_LEFT : SIDE_TOP;
    const AttachSide hi = o == HORIZONTAL ? SIDE_RIGHT : SIDE_BOTTOM;
    const double E = o == HORIZONTAL ? clientWidth : clientHeight;
    std::vector<Equation> eq((size_t)(2 * n));
    for (int i = 0; i < n; ++i) {
        KWindow* w = child(i);
        const FormConstraint* c = getCons(i);
        const double pos = o == HORIZONTAL ? w->X() : w->Y();
        const double size = o == HORIZONTAL ? w->Width() : w->Height();
        const int klo = c ? c->kind[lo] : ATTACH_NONE, khi = c ? c->kind[hi] : ATTACH_NONE;
        Equation& l = eq[(size_t)(2 * i)];
        Equation& h = eq[(size_t)(2 * i + 1)];
        switch (klo) {
        case ATTACH_NONE:
            if (khi != ATTACH_NONE)
                l.other = 2 * i + 1, l.constant = 1 - size;
            else
                l.constant = pos;
            break;
        case ATTACH_FORM: l.constant = c->offset[lo]; break;
        case ATTACH_WIDGET: l.other = c->Index(lo, hi), l.constant = c->offset[lo] + 1; break;
        case ATTACH_OPPOSITE_WIDGET: l.other = c->Index(lo, lo), l.constant = c->offset[lo]; break;
        case ATTACH_POSITION: l.constant = (E - 1) * c->position[lo]; break;
        default: l.none = true; break;
        }
        switch (khi) {
        case ATTACH_NONE:
            if (klo != ATTACH_NONE)
                h.other = 2 * i, h.constant = size - 1;
            else
                h.constant = pos + size - 1;
            break;
        case ATTACH_FORM: h.constant = E - c->offset[hi] - 1; break;
        case ATTACH_WIDGET: h.other = c->Index(hi, lo), h.constant = -1 - c->offset[hi]; break;
        case ATTACH_OPPOSITE_WIDGET: h.other = c->Index(hi, hi), h.constant = -c->offset[hi]; break;
        case ATTACH_POSITION: h.constant = (E - 1) * c->position[hi]; break;
        default: h.none = true; break;
        }
    }
    try {
        result = dense ? SolveDense(eq) : SolveChains(eq);
    } catch (const KorvelException&) {
        // The direction stays at zero: its children collapse to one pixel.
        result = KMatrix<double>(2 * n, 1);
        if (App)
            App->err_printf(ERRCODE(1, 1005), "Could not configure Form widget.");
    }
}

// --- Natural size -------------------------------------------------------------------

namespace {

struct Placement {
    int size = 0, low = 0, high = 0;
    bool placed = false, lowDone = false, highDone = false;
    int kindLo = ATTACH_NONE, kindHi = ATTACH_NONE;
    int otherLo = -1, otherHi = -1; // child index of the widget of each side
    int offsetLo = 0, offsetHi = 0;
};

} // namespace

int KForm::_initialSize(Orientation o)
{
    const int n = numChild();
    const AttachSide lo = o == HORIZONTAL ? SIDE_LEFT : SIDE_TOP;
    const AttachSide hi = o == HORIZONTAL ? SIDE_RIGHT : SIDE_BOTTOM;
    std::vector<Placement> p((size_t)n);
    for (int i = 0; i < n; ++i) {
        Placement& r = p[(size_t)i];
        r.size = o == HORIZONTAL ? child(i)->Width() : child(i)->Height();
        if (const FormConstraint* c = getCons(i)) {
            // A position attachment counts as free here.
            r.kindLo = c->kind[lo] == ATTACH_POSITION ? ATTACH_NONE : c->kind[lo];
            r.kindHi = c->kind[hi] == ATTACH_POSITION ? ATTACH_NONE : c->kind[hi];
            r.otherLo = c->widget[lo] ? c->widget[lo]->childNum() : -1;
            r.otherHi = c->widget[hi] ? c->widget[hi]->childNum() : -1;
            r.offsetLo = c->offset[lo];
            r.offsetHi = c->offset[hi];
        }
        if (r.kindLo == ATTACH_FORM || r.kindLo == ATTACH_NONE) {
            r.low = r.offsetLo;
            r.high = r.low + r.size - 1;
            r.placed = r.lowDone = true;
        }
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (Placement& r : p) {
            if (!r.lowDone && r.kindLo == ATTACH_WIDGET && r.otherLo >= 0 && p[(size_t)r.otherLo].placed) {
                const int v = p[(size_t)r.otherLo].high + r.offsetLo + 1;
                if (v > r.low)
                    r.low = v, r.high = v + r.size - 1;
                r.placed = r.lowDone = changed = true;
            }
            if (r.placed && !r.highDone && r.kindHi == ATTACH_WIDGET && r.otherHi >= 0) {
                Placement& other = p[(size_t)r.otherHi];
                const int v = r.low + r.size + r.offsetHi;
                if (v > other.low)
                    other.low = v, other.high = v + other.size - 1;
                other.placed = r.highDone = changed = true;
            }
        }
    }
    int extent = 0;
    for (const Placement& r : p) {
        int e = r.high + 1;
        if (r.kindHi == ATTACH_FORM || r.kindHi == ATTACH_NONE)
            e += r.offsetHi;
        if (e > extent)
            extent = e;
    }
    return extent;
}

// --- The layout pass ------------------------------------------------------------------

void KForm::configure(bool)
{
    try {
        layOut();
    } catch (const KorvelException& e) {
        configuring = false;
        e.popupMessage(ERRCODE(1, 1006), "Could not solve matrices in KForm::configure().");
    }
}

void KForm::layOut()
{
    const int n = numChild();
    if (n == 0)
        return;
    bool computed = false;
    if (clientWidth == 0)
        clientWidth = _initialSize(HORIZONTAL), computed = true;
    if (clientHeight == 0)
        clientHeight = _initialSize(VERTICAL), computed = true;
    KMatrix<double> H(2 * n, 1), V(2 * n, 1);
    _computeConfig(H, HORIZONTAL);
    _computeConfig(V, VERTICAL);
    configuring = true;
    {
        KDeferPos batch(this);
        for (int i = 0; i < n; ++i) {
            const int x = (int)H(2 * i, 0), w = (int)(H(2 * i + 1, 0) - H(2 * i, 0) + 1.0);
            const int y = (int)V(2 * i, 0), h = (int)(V(2 * i + 1, 0) - V(2 * i, 0) + 1.0);
            if (w >= 0 && h >= 0)
                batch.move(child(i), x, y, w, h);
        }
        if (computed && clientWidth >= 0 && clientHeight >= 0)
            resizeClient(clientWidth, clientHeight, true);
        configuring = false;
    }
}
