// Matrices: the Gauss-Jordan solver the form lays out by, the transpose, the
// determinant by LU decomposition, and printing to the log.
#include "kmatrix.h"
#include "kdiag.h"
#include "kapp.h"
#include <math.h>
#include <vector>

KMatrix<double> operator/(KMatrix<double> b, KMatrix<double> A)
{
    if (b.numRows() != A.numCols() || A.numRows() != A.numCols())
        throw KorvelException(3, "Incompatible dimensions in KMatrix operator /");
    const int n = A.numRows();
    for (int p = 0; p < n; ++p) {
        int r = p;
        while (r < n && A(r, p) == 0.0)
            ++r;
        if (r == n)
            throw KorvelException(3, "No normalizable rows in KMatrix operator /");
        A.swapRows(r, p);
        b.swapRows(r, p);
        const double d = A(p, p);
        if (d != 1.0) {
            b(p, 0) /= d;
            for (int c = 0; c < n; ++c)
                A(p, c) /= d;
        }
        for (int row = 0; row < n; ++row) {
            const double f = A(row, p);
            if (row == p || f == 0.0)
                continue;
            b(row, 0) -= b(p, 0) * f;
            for (int c = 0; c < n; ++c)
                A(row, c) -= f * A(p, c);
        }
    }
    return b;
}

KMatrix<double> Transpose(const KMatrix<double>& m)
{
    KMatrix<double> t(m.numCols(), m.numRows());
    for (int r = 0; r < m.numRows(); ++r)
        for (int c = 0; c < m.numCols(); ++c)
            t(c, r) = m(r, c);
    return t;
}

namespace {

// Crout's LU decomposition in place with implicit partial pivoting (rows
// scaled by their largest element); index receives the row permutation and
// d the parity of the interchanges.
void ludcmp(KMatrix<double>& a, std::vector<int>& index, double& d)
{
    const int n = a.numRows();
    std::vector<double> scale((size_t)n);
    d = 1.0;
    for (int i = 0; i < n; ++i) {
        double big = 0.0;
        for (int j = 0; j < n; ++j)
            big = fmax(big, fabs(a(i, j)));
        if (big == 0.0) {
            if (App)
                App->mprintf("Singular matrix in routine ludcmp.");
            big = 1.0;
        }
        scale[(size_t)i] = 1.0 / big;
    }
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < j; ++i) {
            double sum = a(i, j);
            for (int k = 0; k < i; ++k)
                sum -= a(i, k) * a(k, j);
            a(i, j) = sum;
        }
        double big = 0.0;
        int imax = j;
        for (int i = j; i < n; ++i) {
            double sum = a(i, j);
            for (int k = 0; k < j; ++k)
                sum -= a(i, k) * a(k, j);
            a(i, j) = sum;
            const double candidate = scale[(size_t)i] * fabs(sum);
            if (candidate >= big) {
                big = candidate;
                imax = i;
            }
        }
        if (j != imax) {
            a.swapRows(imax, j);
            d = -d;
            scale[(size_t)imax] = scale[(size_t)j];
        }
        index[(size_t)j] = imax;
        if (a(j, j) == 0.0)
            a(j, j) = 1e-20;
        for (int i = j + 1; i < n; ++i)
            a(i, j) /= a(j, j);
    }
}

} // namespace

double Determinant(const KMatrix<double>& m)
{
    KMatrix<double> lu(m);
    std::vector<int> index((size_t)m.numRows());
    double d;
    ludcmp(lu, index, d);
    for (int i = 0; i < m.numRows(); ++i)
        d *= lu(i, i);
    return d;
}

void PrintMatrix(const KMatrix<double>& m, const char* title, int width, int precision)
{
    Printf("%s\n", title);
    for (int r = 0; r < m.numRows(); ++r) {
        for (int c = 0; c < m.numCols(); ++c)
            Printf("%*.*f ", width, precision, m(r, c));
        Printf("\n");
    }
}

void PrintMatrix(const KMatrix<complex>& m, const char* title, int width, int precision)
{
    Printf("%s\n", title);
    for (int r = 0; r < m.numRows(); ++r) {
        for (int c = 0; c < m.numCols(); ++c)
            Printf("(%*.*e,%*.*e) ", width, precision, m(r, c).re, width, precision, m(r, c).im);
        Printf("\n");
    }
}
