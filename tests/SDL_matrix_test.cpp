#include "indices/SDL_matrix.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace umbrix;

namespace {

// rows given top to bottom, stored through the column-first access
TMatrix FromRows(std::initializer_list<std::initializer_list<double>> rows) {
    TMatrix m;
    int r = 0;
    for (auto& row : rows) {
        ++r;
        if (r == 1) m.Resize(int(row.size()), int(rows.size()));
        int c = 0;
        for (double v : row) m.SetElement(++c, r, v);
    }
    return m;
}

}  // namespace

TEST(Matrix, CreatedAsOneByOneZero) {
    TMatrix m("M");
    EXPECT_EQ(m.NrOfColumns(), 1);
    EXPECT_EQ(m.NrOfRows(), 1);
    EXPECT_EQ(m.Element(1, 1), 0.0);
    EXPECT_EQ(m.Name(), "M");
    EXPECT_TRUE(m.DataID.empty());
}

TEST(Matrix, OutOfRangeAccessReadsZeroAndWritesNothing) {
    TMatrix m;
    m.Resize(3, 2);
    m.Fill(7.0);
    int changes = 0;
    m.OnChange = [&](TMatrix&) { ++changes; };
    for (auto [c, r] : {std::pair{0, 1}, {4, 1}, {1, 0}, {1, 3}, {-1, -1}}) {
        EXPECT_EQ(m.Element(c, r), 0.0) << c << "," << r;
        m.SetElement(c, r, 99.0);
    }
    EXPECT_EQ(changes, 0);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) EXPECT_EQ(m.Element(c, r), 7.0);
}

TEST(Matrix, ColumnFirstAccessAndColumnMajorStorage) {
    TMatrix m;
    m.Resize(2, 3);  // 2 columns, 3 rows
    m.SetElement(2, 1, 5.0);
    m.SetElement(1, 3, 4.0);
    EXPECT_EQ(m.Data()[3], 5.0);  // column 2 starts after the 3 rows of column 1
    EXPECT_EQ(m.Data()[2], 4.0);
}

TEST(Matrix, ResizeKeepsCommonElementsAndZeroesNewOnes) {
    TMatrix v;
    v.Resize(1, 16);
    for (int r = 1; r <= 16; ++r) v.SetElement(1, r, r);
    v.Resize(1, 21);
    for (int r = 1; r <= 16; ++r) EXPECT_EQ(v.Element(1, r), r);
    for (int r = 17; r <= 21; ++r) EXPECT_EQ(v.Element(1, r), 0.0);

    TMatrix m = FromRows({{1, 2, 3}, {4, 5, 6}});
    m.Resize(2, 3);  // drop column 3, add row 3
    EXPECT_EQ(m.Element(1, 1), 1.0);
    EXPECT_EQ(m.Element(2, 2), 5.0);
    EXPECT_EQ(m.Element(1, 3), 0.0);
    EXPECT_EQ(m.Element(3, 1), 0.0);

    m.SetNrOfRows(0);  // below 1 becomes 1
    EXPECT_EQ(m.NrOfRows(), 1);
    EXPECT_EQ(m.NrOfColumns(), 2);
    m.SetNrOfColumns(4);
    EXPECT_EQ(m.NrOfColumns(), 4);
    EXPECT_EQ(m.Element(2, 1), 2.0);
}

TEST(Matrix, SizeLimitOfTwoThousandElements) {
    TMatrix m("Big");
    m.Resize(40, 50);
    EXPECT_EQ(m.NrOfColumns() * m.NrOfRows(), 2000);
    m.SetElement(40, 50, 1.5);
    EXPECT_THROW(m.Resize(41, 50), ESDLError);
    EXPECT_EQ(m.NrOfColumns(), 40);
    EXPECT_EQ(m.NrOfRows(), 50);
    EXPECT_EQ(m.Element(40, 50), 1.5);
    // sizes whose product overflows an int must not slip under the limit
    EXPECT_THROW(m.Resize(65536, 65536), ESDLError);
    EXPECT_THROW(m.SetNrOfRows(51), ESDLError);
}

TEST(Matrix, ChangeNotification) {
    TMatrix m;
    int changes = 0;
    m.OnChange = [&](TMatrix& sender) {
        EXPECT_EQ(&sender, &m);
        ++changes;
    };
    m.Resize(2, 2);
    m.SetElement(1, 1, 2.0);
    m.Fill(1.0);
    EXPECT_EQ(changes, 3);
}

TEST(Matrix, CopyFromTakesShapeAndValues) {
    TMatrix source = FromRows({{1, 2}, {3, 4}, {5, 6}});
    TMatrix target;
    target.CopyFrom(&source);
    ASSERT_EQ(target.NrOfColumns(), 2);
    ASSERT_EQ(target.NrOfRows(), 3);
    EXPECT_EQ(target.Element(2, 3), 6.0);
    target.CopyFrom(nullptr);
    EXPECT_EQ(target.Element(1, 2), 3.0);
}

TEST(Matrix, MultiplyChecksShapesAndNeverResizesTarget) {
    TMatrix a;
    a.Resize(16, 16);
    for (int c = 1; c <= 16; ++c)
        for (int r = 1; r <= 16; ++r) a.SetElement(c, r, (c == r) ? 2.0 : 0.01 * (c - r));
    TMatrix x;
    x.Resize(1, 16);
    for (int r = 1; r <= 16; ++r) x.SetElement(1, r, r);

    TMatrix y;
    y.Resize(1, 16);
    ASSERT_TRUE(a.Multiply(x, y));
    for (int r = 1; r <= 16; ++r) {
        double expected = 0;
        for (int c = 1; c <= 16; ++c) expected += a.Element(c, r) * x.Element(1, c);
        EXPECT_DOUBLE_EQ(y.Element(1, r), expected);
    }

    TMatrix wrong;
    wrong.Resize(1, 21);
    wrong.Fill(3.0);
    EXPECT_FALSE(a.Multiply(x, wrong));
    EXPECT_EQ(wrong.NrOfRows(), 21);
    for (int r = 1; r <= 21; ++r) EXPECT_EQ(wrong.Element(1, r), 3.0);

    TMatrix shortVector;
    shortVector.Resize(1, 15);
    y.Fill(-1.0);
    EXPECT_FALSE(a.Multiply(shortVector, y));  // inner sizes differ
    EXPECT_EQ(y.Element(1, 1), -1.0);
}

TEST(Matrix, MultiplyIntoAnOperandUsesTheOldValues) {
    TMatrix a = FromRows({{1, 2}, {3, 4}});
    ASSERT_TRUE(a.Multiply(a, a));  // a := a * a
    EXPECT_EQ(a.Element(1, 1), 7.0);
    EXPECT_EQ(a.Element(2, 1), 10.0);
    EXPECT_EQ(a.Element(1, 2), 15.0);
    EXPECT_EQ(a.Element(2, 2), 22.0);

    TMatrix m = FromRows({{0, 1}, {1, 0}});
    TMatrix v = FromRows({{5}, {6}});
    ASSERT_TRUE(m.Multiply(v, v));
    EXPECT_EQ(v.Element(1, 1), 6.0);
    EXPECT_EQ(v.Element(1, 2), 5.0);
}

TEST(Matrix, AddNeedsEqualShapes) {
    TMatrix a = FromRows({{1, 2}, {3, 4}});
    TMatrix b = FromRows({{10, 20}, {30, 40}});
    ASSERT_TRUE(a.Add(b));
    EXPECT_EQ(a.Element(2, 2), 44.0);
    TMatrix column = FromRows({{1}, {1}});
    EXPECT_FALSE(a.Add(column));
    EXPECT_EQ(a.Element(1, 1), 11.0);
}

TEST(Matrix, InvertRowExchange) {
    TMatrix m = FromRows({{0, 1}, {1, 0}});
    ASSERT_TRUE(m.Invert());
    EXPECT_EQ(m.Element(1, 1), 0.0);
    EXPECT_EQ(m.Element(2, 1), 1.0);
    EXPECT_EQ(m.Element(1, 2), 1.0);
    EXPECT_EQ(m.Element(2, 2), 0.0);
}

TEST(Matrix, InvertFailures) {
    TMatrix zeroRow = FromRows({{1, 2}, {0, 0}});
    EXPECT_FALSE(zeroRow.Invert());
    TMatrix dependent = FromRows({{1, 2}, {2, 4}});
    EXPECT_FALSE(dependent.Invert());
    TMatrix nonSquare = FromRows({{1, 2, 3}, {4, 5, 6}});
    EXPECT_FALSE(nonSquare.Invert());
    EXPECT_EQ(nonSquare.Element(3, 2), 6.0);  // unchanged
    TMatrix nan = FromRows({{NAN, 1}, {1, NAN}});
    nan.Invert();  // returns, whatever it makes of it
}

TEST(Matrix, InverseTimesMatrixIsIdentity) {
    // badly scaled rows and a zero leading element exercise the implicit pivoting
    const int n = 26;
    TMatrix m;
    m.Resize(n, n);
    for (int c = 1; c <= n; ++c) {
        for (int r = 1; r <= n; ++r) {
            double v = std::sin(0.7 * c + 1.3 * r) + (c == r ? 3.0 : 0.0);
            m.SetElement(c, r, v * std::pow(10.0, (r % 5) - 2));
        }
    }
    m.SetElement(1, 1, 0.0);
    TMatrix inverse;
    inverse.CopyFrom(&m);
    ASSERT_TRUE(inverse.Invert());
    TMatrix product;
    product.Resize(n, n);
    ASSERT_TRUE(inverse.Multiply(m, product));
    for (int c = 1; c <= n; ++c)
        for (int r = 1; r <= n; ++r)
            EXPECT_NEAR(product.Element(c, r), c == r ? 1.0 : 0.0, 1e-12) << c << "," << r;
}
