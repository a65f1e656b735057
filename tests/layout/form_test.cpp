// The attachment form through real child windows: every attachment kind, natural sizes, an
// undetermined direction, removal of a child others hang on; the matrix solver under it; and the
// demo's form, its picture kept as bin/layouts.bmp.
#include "layout_tests.h"
#include "../../examples/demo/layouts.h"

namespace {

// A side of child a or b hung on the form ('F'), the other child ('W'), its opposite side ('O'), a
// fraction of the form ('%', the value) or left as it is ('-'); then its offset set to the value if >= 0.
struct Step { char who; AttachSide side; char to; double value; };

// A shown popup holding a form of the given client size (0: natural size) with children a
// (at 3, 4, 20 x 10) and b (at 30, 40, 10 x 6).
struct Scene {
    WindowOwner windows;
    KForm* form;
    KWindow *a, *b;
    Scene(int width, int height)
    {
        KArgList args;
        args.add(WA_CLIENT_WIDTH, width);
        args.add(WA_CLIENT_HEIGHT, height);
        args.add(WA_HORIZONTAL_MARGIN, 1);
        form = MakeForm(ShownPopup(windows, 0, 0, 300, 200), &args);
        a = Child(form, 3, 4, 20, 10);
        b = Child(form, 30, 40, 10, 6);
    }
    void attach(const std::vector<Step>& steps)
    {
        for (const Step& t : steps) {
            KWindow *me = t.who == 'a' ? a : b, *other = t.who == 'a' ? b : a;
            if (t.to == 'F')
                form->attachForm(me, t.side);
            else if (t.to == 'W')
                form->attach(me, t.side, other);
            else if (t.to == 'O')
                form->attachOpp(me, t.side, other);
            if (t.to == '%')
                form->attachFrac(me, t.side, t.value);
            else if (t.value >= 0)
                form->attachOff(me, t.side, (int)t.value);
        }
    }
};

// A form whose two solvers can both be run.
struct Solvable : KForm {
    using KForm::_computeConfig;
    using KForm::init;
};

} // namespace

TEST(Form, AttachmentKindsAndNaturalSizePlaceTheChildren)
{
    // The rectangles of a and b, then the form's: as given, or as its children need it.
    struct Case { const char* what; int w, h; std::vector<Step> steps; Longs want; };
    const Case cases[] = {
        {"all sides free keep their rectangles", 100, 80, {}, {3, 4, 20, 10, 30, 40, 10, 6, 0, 0, 100, 80}},
        {"form edges with offsets 5 and 5", 100, 80, {{'a', SIDE_LEFT, 'F', 5}, {'a', SIDE_RIGHT, 'F', 5}},
         {5, 4, 90, 10, 30, 40, 10, 6, 0, 0, 100, 80}},
        {"next to a with 3 free pixels, keeping its size", 100, 80, {{'b', SIDE_LEFT, 'W', 3}},
         {3, 4, 20, 10, 26, 40, 10, 6, 0, 0, 100, 80}},
        {"half way across 101 pixels, the offset unused", 101, 80, {{'a', SIDE_LEFT, '%', 0.5}},
         {50, 4, 20, 10, 30, 40, 10, 6, 0, 0, 101, 80}},
        {"right edges 2 pixels inwards; bottom to the form", 100, 80, {{'b', SIDE_RIGHT, 'O', 2},
         {'b', SIDE_BOTTOM, 'F', -1}}, {3, 4, 20, 10, 11, 74, 10, 6, 0, 0, 100, 80}},
        {"top to the form, bottom down to b with 4 free", 100, 80, {{'a', SIDE_TOP, 'F', -1},
         {'a', SIDE_BOTTOM, 'W', 4}}, {3, 0, 20, 36, 30, 40, 10, 6, 0, 0, 100, 80}},
        // Right edge of b + 1 + its right offset; free tops count from the offset, not the position.
        {"no size: a chain from the form's edge gives the width", 0, 0,
         {{'a', SIDE_LEFT, 'F', 2}, {'b', SIDE_LEFT, 'W', 3}, {'b', SIDE_RIGHT, '-', 4}},
         {2, 4, 20, 10, 25, 40, 10, 6, 0, 0, 39, 10}},
    };
    for (const Case& c : cases) {
        Scene s(c.w, c.h);
        s.attach(c.steps);
        s.form->configure(false);
        EXPECT_EQ((c.want + Longs{c.want[10], c.want[11]}),
                  (Placed(s.a) + Placed(s.b) + Placed(s.form) + Longs{s.form->width(), s.form->height()}))
            << c.what;
    }
}

TEST(Form, ResizeUndeterminedDirectionAndRemoval)
{
    Scene s(100, 80);
    s.form->attachForm(s.a, SIDE_LEFT, SIDE_RIGHT, SIDE_TOP, SIDE_BOTTOM);
    s.form->move(0, 0, 150, 60);
    EXPECT_TRUE(WaitFor([&] { return Placed(s.a) == Longs{1, 0, 148, 60}; }))
        << "default horizontal offsets of 1 from WA_HORIZONTAL_MARGIN";
    // Sides leaning on each other in a ring determine nothing: reported through the main
    // window, that direction only collapses.
    struct Main : KMainWin {
        KArgList none;
        Main() : KMainWin(L"Main") { init(nullptr, &none); }
    } main;
    App->setMainWindow(&main);
    MarkLog("ring");
    s.attach({{'a', SIDE_LEFT, 'W', -1}, {'b', SIDE_LEFT, 'W', -1}});
    s.form->attachNone(s.a, SIDE_RIGHT);
    s.form->attachNone(s.b, SIDE_RIGHT);
    s.form->configure(false);
    App->setMainWindow(nullptr); // so that its end posts no quit message
    EXPECT_NE(std::string::npos, LogAfter("ring").find("(01-1005) Could not configure Form widget."));
    EXPECT_EQ((Longs{0, 0, 1, 60, 0, 40, 1, 6}), Placed(s.a) + Placed(s.b));
    // A destroyed child frees the sides hung on it.
    delete s.a;
    const FormConstraint* c = s.form->getConstraint(s.b);
    EXPECT_EQ((Longs{ATTACH_NONE, 0, 1}),
              (Longs{c->kind[SIDE_LEFT], !!c->widget[SIDE_LEFT], s.form->numChild()}));
}

TEST(Matrix, SolverTransposeDeterminantAndPrinting)
{
    KMatrix<double> A(3, 3), b(3, 1);
    const double a[9] = {0, 2, 1, 1, 1, 1, 2, 0, 3}; // a zero first pivot: rows are swapped
    for (int i = 0; i < 9; ++i)
        A(i / 3, i % 3) = a[i];
    b(0, 0) = 7, b(1, 0) = 6, b(2, 0) = 11;
    const KMatrix<double> x = b / A;
    EXPECT_EQ((std::vector<double>{1, 2, 3}), (std::vector<double>{x(0, 0), x(1, 0), x(2, 0)}));
    EXPECT_DOUBLE_EQ(-4.0, Determinant(A));
    const KMatrix<double> t = Transpose(b);
    EXPECT_EQ((Longs{1, 3, 6, 11}), (Longs{t.numRows(), t.numCols(), (long)t(0, 1), (long)t(0, 2)}));
    KMatrix<double> singular(2, 2), column(2, 1);
    singular(0, 0) = singular(0, 1) = 1;
    EXPECT_EQ("No normalizable rows in KMatrix operator /", Catch([&] { column / singular; }).text);
    EXPECT_EQ("Incompatible dimensions in KMatrix operator /", Catch([&] { b / singular; }).text);
    EXPECT_EQ(3, Catch([&] { b / singular; }).group);
    MarkLog("matrix");
    PrintMatrix(t, "t", 5, 1);
    KMatrix<complex> z(1, 1);
    z(0, 0) = complex{1.5, -2};
    PrintMatrix(z, "z", 9, 2);
    EXPECT_EQ((std::vector<std::string>{"t", "  7.0   6.0  11.0 ", "z", "(1.50e+000,-2.00e+000) "}),
              Lines(LogAfter("matrix")));
}

// The equations are solved along their chains; on random forms of every attachment kind (rings
// and sides without an equation among them) that must give exactly what the elimination gives,
// including the zero edges of a singular direction.
TEST(Form, ChainSolverGivesTheEliminationsResults)
{
    WindowOwner windows;
    KWindow* stage = ShownPopup(windows, 0, 0, 10, 10);
    Random random(11);
    int solved = 0, singular = 0;
    for (int trial = 0; trial < 60; ++trial) {
        auto* form = new Solvable;
        KArgList args;
        args.add(WA_CLIENT_WIDTH, 100 + (int)random.below(400));
        args.add(WA_CLIENT_HEIGHT, 100 + (int)random.below(300));
        form->init(stage, &args);
        const int n = 1 + (int)random.below(12);
        for (int i = 0; i < n; ++i)
            Child(form, (int)random.below(200), (int)random.below(200), 1 + (int)random.below(60),
                  1 + (int)random.below(60));
        for (int i = 0; i < n; ++i) {
            FormConstraint* c = form->getCons(i);
            for (int s = 0; s < 4; ++s) {
                KWindow* other = form->child((int)random.below((unsigned)n));
                c->offset[s] = (int)random.below(9);
                switch (random.below(11)) {
                case 0: case 1: case 2: break; // free
                case 3: case 4: form->attachForm(form->child(i), (AttachSide)s); break;
                case 5: case 6: form->attach(form->child(i), (AttachSide)s, other); break;
                case 7: form->attachOpp(form->child(i), (AttachSide)s, other); break;
                case 8: case 9: form->attachFrac(form->child(i), (AttachSide)s, random.below(17) / 16.0);
                    break;
                default: c->kind[s] = trial % 7 ? ATTACH_NONE : 4; break; // a kind without an equation
                }
            }
        }
        for (Orientation o : {HORIZONTAL, VERTICAL}) {
            KMatrix<double> dense, chains;
            form->_computeConfig(dense, o, true);
            form->_computeConfig(chains, o, false);
            bool zero = true, same = dense.numRows() == chains.numRows();
            for (int r = 0; same && r < dense.numRows(); ++r) {
                same = dense(r, 0) == chains(r, 0);
                zero = zero && dense(r, 0) == 0;
            }
            EXPECT_TRUE(same) << "trial " << trial << " direction " << o;
            ++(zero ? singular : solved);
        }
        delete form;
    }
    EXPECT_TRUE(singular > 10 && solved > 40) << singular << " singular, " << solved << " solved";
}

TEST(Form, TheDemoFormPlacesItsLayouts)
{
    WindowOwner windows;
    KWindow* stage = ShownPopup(windows, 10, 10, 460, 300);
    KArgList args;
    args.add(WA_CLIENT_WIDTH, 460);
    args.add(WA_CLIENT_HEIGHT, 300);
    KForm* form = MakeForm(stage, &args);
    const demo::Layouts l = demo::BuildLayouts(form);
    const long right = l.frame->X() + l.frame->Width(), bottom = l.frame->Y() + l.frame->Height();
    EXPECT_EQ((Longs{10, 10, right + 10, 16, 450, 10, bottom + 10, 440, 290}),
              (Longs{l.frame->X(), l.frame->Y(), l.grid->X(), l.grid->Y(), l.grid->X() + l.grid->Width(),
                     l.tabs->X(), l.tabs->Y(), l.tabs->Width(), l.tabs->Y() + l.tabs->Height()}));
    EXPECT_LE(l.table->X() + l.table->Width(), l.frame->width()) << "the table fits in its frame";
    UpdateWindow(*stage);
    PumpMessages();
    KMemDC picture(460, 300);
    form->dump(picture, 0, 0, 0);
    SaveBitmap(ProgramDir() + L"layouts.bmp", picture);
    const std::vector<DWORD> pixels = Pixels(picture);
    const DWORD face = pixels[5]; // the form's own background, left of the frame
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [&](DWORD p) { return p != face; }), 20000)
        << "panels, tabs and frames were drawn";
}
