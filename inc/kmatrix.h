// Dense matrices of doubles or complex numbers, with the linear solver the
// attachment form lays out by, and the transpose, determinant and printing
// that go with it.
//
//     KMatrix<double> A(2, 2), b(2, 1);
//     A(0, 0) = 2; A(0, 1) = 1; A(1, 0) = 1; A(1, 1) = 3;
//     b(0, 0) = 3; b(1, 0) = 5;
//     KMatrix<double> x = b / A;   // solves A x = b: x = (0.8, 1.4)
#ifndef KORVEL_KMATRIX_H
#define KORVEL_KMATRIX_H

#include <string.h>
#include "kexport.h"

// A complex number as a plain record of two doubles.
struct complex {
    double re;
    double im;
};
static_assert(sizeof(complex) == 16, "complex is stored as two doubles");

template <class T>
class KMatrix {
public:
    // A rows x cols matrix of zeros.
    KMatrix(int r = 0, int c = 0) : rows(r), cols(c), data(alloc(r, c)) {}
    KMatrix(const KMatrix& m) : rows(m.rows), cols(m.cols), data(alloc(m.rows, m.cols))
    {
        copyFrom(m);
    }
    KMatrix& operator=(const KMatrix& m)
    {
        if (this == &m)
            return *this;
        if (rows != m.rows || cols != m.cols) {
            delete[] data;
            rows = m.rows;
            cols = m.cols;
            data = alloc(rows, cols);
        }
        copyFrom(m);
        return *this;
    }
    ~KMatrix() { delete[] data; }

    T& operator()(int r, int c) { return data[r * cols + c]; }
    const T& operator()(int r, int c) const { return data[r * cols + c]; }
    int numRows() const { return rows; }
    int numCols() const { return cols; }
    void swapRows(int r1, int r2)
    {
        if (r1 == r2)
            return;
        for (int c = 0; c < cols; ++c) {
            T t = (*this)(r1, c);
            (*this)(r1, c) = (*this)(r2, c);
            (*this)(r2, c) = t;
        }
    }

private:
    static T* alloc(int r, int c)
    {
        const int n = r > 0 && c > 0 ? r * c : 0;
        return n ? new T[n]() : nullptr;
    }
    void copyFrom(const KMatrix& m)
    {
        if (rows > 0 && cols > 0)
            memcpy((void*)data, m.data, sizeof(T) * rows * cols);
    }

    int rows;
    int cols;
    T* data;
};

// The solution x of A x = b by Gauss-Jordan elimination (the first non-zero
// pivot of each column, no search for the largest). Throws KorvelException
// (group 3) for shapes that do not fit and for a singular A.
KORVEL_API KMatrix<double> operator/(KMatrix<double> b, KMatrix<double> A);
KORVEL_API KMatrix<double> Transpose(const KMatrix<double>& m);
// By LU decomposition with implicit partial pivoting; m may be changed.
KORVEL_API double Determinant(const KMatrix<double>& m);
// Writes the title and the rows to the log ("%*.*f " per element; complex
// elements as "(%*.*e,%*.*e) ").
KORVEL_API void PrintMatrix(const KMatrix<double>& m, const char* title, int width, int precision);
KORVEL_API void PrintMatrix(const KMatrix<complex>& m, const char* title, int width, int precision);

#endif
