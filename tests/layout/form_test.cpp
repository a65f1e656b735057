// The attachment form through real child windows: every attachment kind, natural sizes, an
// undetermined direction, removal of a child others hang on; and the matrix solver under it.
#include <gtest/gtest.h>
#include "test_support.h"

namespace {

typedef std::vector<long> Longs;

KWindow* Child(KWindow* parent, int x, int y, int w, int h)
{
    KArgList args;
    args.add(WA_X, x);
    args.add(WA_Y, y);
    args.add(WA_WIDTH, w);
    args.add(WA_HEIGHT, h);
    return MakeWindow(parent, &args);
}

// A shown popup holding a form of the given client size (0: natural size) with children a
// (at 3, 4, 20 x 10) and b (at 30, 40, 10 x 6).
struct Scene {
    WindowOwner windows;
    KForm* form;
    KWindow *a, *b;
    Scene(int width, int height)
    {
        KWindow* popup = ShownPopup(windows, 0, 0, 300, 200);
        KArgList args;
        args.add(WA_CLIENT_WIDTH, width);
        args.add(WA_CLIENT_HEIGHT, height);
        args.add(WA_HORIZONTAL_MARGIN, 1);
        form = MakeForm(popup, &args);
        a = Child(form, 3, 4, 20, 10);
        b = Child(form, 30, 40, 10, 6);
    }
};

} // namespace

TEST(Form, AttachmentKindsPlaceTheChildren)
{
    struct Case {
        const char* what;
        int formWidth;
        void (*attach)(KForm*, KWindow* a, KWindow* b);
        Longs a, b;
    };
    const Case cases[] = {
        {"all sides free keep their rectangles", 100, [](KForm*, KWindow*, KWindow*) {},
         {3, 4, 20, 10}, {30, 40, 10, 6}},
        {"form edges with offsets 5 and 5", 100,
         [](KForm* f, KWindow* a, KWindow*) {
             f->attachForm(a, SIDE_LEFT, SIDE_RIGHT);
             f->attachOff(a, SIDE_LEFT, 5, SIDE_RIGHT, 5);
         },
         {5, 4, 90, 10}, {30, 40, 10, 6}},
        {"next to a with 3 free pixels, keeping its size", 100,
         [](KForm* f, KWindow* a, KWindow* b) {
             f->attach(b, SIDE_LEFT, a);
             f->attachOff(b, SIDE_LEFT, 3);
         },
         {3, 4, 20, 10}, {26, 40, 10, 6}},
        {"half way across 101 pixels, the offset unused", 101,
         [](KForm* f, KWindow* a, KWindow*) { f->attachFrac(a, SIDE_LEFT, 0.5); },
         {50, 4, 20, 10}, {30, 40, 10, 6}},
        {"right edges aligned 2 pixels inwards; bottom to the form", 100,
         [](KForm* f, KWindow* a, KWindow* b) {
             f->attachOpp(b, SIDE_RIGHT, a);
             f->attachOff(b, SIDE_RIGHT, 2);
             f->attachForm(b, SIDE_BOTTOM);
         },
         {3, 4, 20, 10}, {11, 74, 10, 6}},
        {"top to the form, bottom down to b with 4 free", 100,
         [](KForm* f, KWindow* a, KWindow* b) {
             f->attachForm(a, SIDE_TOP, SIDE_NONE, SIDE_NONE, SIDE_NONE);
             f->attach(a, SIDE_BOTTOM, b);
             f->attachOff(a, SIDE_BOTTOM, 4);
         },
         {3, 0, 20, 36}, {30, 40, 10, 6}},
    };
    for (const Case& c : cases) {
        Scene s(c.formWidth, 80);
        c.attach(s.form, s.a, s.b);
        s.form->configure(false);
        EXPECT_EQ(c.a, Placed(s.a)) << c.what;
        EXPECT_EQ(c.b, Placed(s.b)) << c.what;
    }
}

TEST(Form, NaturalSizeResizeUndeterminedDirectionAndRemoval)
{
    // No size: a chain from the form's edge gives the width; the form takes it.
    Scene natural(0, 0);
    natural.form->attachForm(natural.a, SIDE_LEFT);
    natural.form->attachOff(natural.a, SIDE_LEFT, 2);
    natural.form->attach(natural.b, SIDE_LEFT, natural.a);
    natural.form->attachOff(natural.b, SIDE_LEFT, 3, SIDE_RIGHT, 4);
    natural.form->configure(false);
    EXPECT_EQ((Longs{2, 4, 20, 10}), Placed(natural.a));
    EXPECT_EQ((Longs{25, 40, 10, 6}), Placed(natural.b));
    EXPECT_EQ((Longs{39, 10}), (Longs{natural.form->width(), natural.form->height()}))
        << "right edge of b + 1 + its right offset; free tops count from the offset, not the position";
    EXPECT_EQ((Longs{0, 0, 39, 10}), Placed(natural.form));

    // Resizing the form lays it out again.
    Scene s(100, 80);
    s.form->attachForm(s.a, SIDE_LEFT, SIDE_RIGHT, SIDE_TOP, SIDE_BOTTOM);
    s.form->move(0, 0, 150, 60);
    EXPECT_TRUE(WaitFor([&] { return Placed(s.a) == Longs{1, 0, 148, 60}; }))
        << "default horizontal offsets of 1 from WA_HORIZONTAL_MARGIN";

    // Sides leaning on each other in a ring determine nothing: reported through the main
    // window, that direction only collapses.
    struct Main : KMainWin {
        Main() : KMainWin(L"Main")
        {
            KArgList none;
            init(nullptr, &none);
        }
    } main;
    App->setMainWindow(&main);
    MarkLog("ring");
    s.form->attach(s.a, SIDE_LEFT, s.b);
    s.form->attachNone(s.a, SIDE_RIGHT);
    s.form->attach(s.b, SIDE_LEFT, s.a);
    s.form->attachNone(s.b, SIDE_RIGHT);
    s.form->configure(false);
    App->setMainWindow(nullptr); // so that its end posts no quit message
    EXPECT_NE(std::string::npos, LogAfter("ring").find("(01-1005) Could not configure Form widget."));
    EXPECT_EQ((Longs{0, 0, 1, 60}), Placed(s.a));
    EXPECT_EQ((Longs{0, 40, 1, 6}), Placed(s.b));

    // A destroyed child frees the sides hung on it.
    delete s.a;
    EXPECT_EQ(ATTACH_NONE, s.form->getConstraint(s.b)->kind[SIDE_LEFT]);
    EXPECT_EQ(nullptr, s.form->getConstraint(s.b)->widget[SIDE_LEFT]);
    EXPECT_EQ(1, s.form->numChild());
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

namespace {

// A form whose two solvers can both be run.
struct Solvable : KForm {
    using KForm::_computeConfig;
    using KForm::init;
};

} // namespace

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
                case 8: case 9: form->attachFrac(form->child(i), (AttachSide)s, random.below(17) / 16.0); break;
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
    EXPECT_GT(singular, 10);
    EXPECT_GT(solved, 40);
}
