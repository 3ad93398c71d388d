#include "indices/DenseMatrix.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace umbrix;

namespace {

// rows given top to bottom, stored through the column-first access
DenseMatrix FromRows(std::initializer_list<std::initializer_list<double>> rows) {
    DenseMatrix m;
    int r = 0;
    for (auto& row : rows) {
        ++r;
        if (r == 1) m.resize(int(row.size()), int(rows.size()));
        int c = 0;
        for (double v : row) m.setElement(++c, r, v);
    }
    return m;
}

}  // namespace

TEST(Matrix, CreatedAsOneByOneZero) {
    DenseMatrix m("M");
    EXPECT_EQ(m.columns(), 1);
    EXPECT_EQ(m.rows(), 1);
    EXPECT_EQ(m.element(1, 1), 0.0);
    EXPECT_EQ(m.name(), "M");
    EXPECT_TRUE(m.ownerData.empty());
}

TEST(Matrix, OutOfRangeAccessReadsZeroAndWritesNothing) {
    DenseMatrix m;
    m.resize(3, 2);
    m.fill(7.0);
    int changes = 0;
    m.onChange = [&](DenseMatrix&) { ++changes; };
    for (auto [c, r] : {std::pair{0, 1}, {4, 1}, {1, 0}, {1, 3}, {-1, -1}}) {
        EXPECT_EQ(m.element(c, r), 0.0) << c << "," << r;
        m.setElement(c, r, 99.0);
    }
    EXPECT_EQ(changes, 0);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) EXPECT_EQ(m.element(c, r), 7.0);
}

TEST(Matrix, ColumnFirstAccessAndColumnMajorStorage) {
    DenseMatrix m;
    m.resize(2, 3);  // 2 columns, 3 rows
    m.setElement(2, 1, 5.0);
    m.setElement(1, 3, 4.0);
    EXPECT_EQ(m.data()[3], 5.0);  // column 2 starts after the 3 rows of column 1
    EXPECT_EQ(m.data()[2], 4.0);
}

TEST(Matrix, ResizeKeepsCommonElementsAndZeroesNewOnes) {
    DenseMatrix v;
    v.resize(1, 16);
    for (int r = 1; r <= 16; ++r) v.setElement(1, r, r);
    v.resize(1, 21);
    for (int r = 1; r <= 16; ++r) EXPECT_EQ(v.element(1, r), r);
    for (int r = 17; r <= 21; ++r) EXPECT_EQ(v.element(1, r), 0.0);

    DenseMatrix m = FromRows({{1, 2, 3}, {4, 5, 6}});
    m.resize(2, 3);  // drop column 3, add row 3
    EXPECT_EQ(m.element(1, 1), 1.0);
    EXPECT_EQ(m.element(2, 2), 5.0);
    EXPECT_EQ(m.element(1, 3), 0.0);
    EXPECT_EQ(m.element(3, 1), 0.0);

    m.setRows(0);  // below 1 becomes 1
    EXPECT_EQ(m.rows(), 1);
    EXPECT_EQ(m.columns(), 2);
    m.setColumns(4);
    EXPECT_EQ(m.columns(), 4);
    EXPECT_EQ(m.element(2, 1), 2.0);
}

TEST(Matrix, SizeLimitOfTwoThousandElements) {
    DenseMatrix m("Big");
    m.resize(40, 50);
    EXPECT_EQ(m.columns() * m.rows(), 2000);
    m.setElement(40, 50, 1.5);
    EXPECT_THROW(m.resize(41, 50), DenseMatrixError);
    EXPECT_EQ(m.columns(), 40);
    EXPECT_EQ(m.rows(), 50);
    EXPECT_EQ(m.element(40, 50), 1.5);
    // sizes whose product overflows an int must not slip under the limit
    EXPECT_THROW(m.resize(65536, 65536), DenseMatrixError);
    EXPECT_THROW(m.setRows(51), DenseMatrixError);
}

TEST(Matrix, ChangeNotification) {
    DenseMatrix m;
    int changes = 0;
    m.onChange = [&](DenseMatrix& sender) {
        EXPECT_EQ(&sender, &m);
        ++changes;
    };
    m.resize(2, 2);
    m.setElement(1, 1, 2.0);
    m.fill(1.0);
    EXPECT_EQ(changes, 3);
}

TEST(Matrix, CopyFromTakesShapeAndValues) {
    DenseMatrix source = FromRows({{1, 2}, {3, 4}, {5, 6}});
    DenseMatrix target;
    target.copyFrom(&source);
    ASSERT_EQ(target.columns(), 2);
    ASSERT_EQ(target.rows(), 3);
    EXPECT_EQ(target.element(2, 3), 6.0);
    target.copyFrom(nullptr);
    EXPECT_EQ(target.element(1, 2), 3.0);
}

TEST(Matrix, MultiplyChecksShapesAndNeverResizesTarget) {
    DenseMatrix a;
    a.resize(16, 16);
    for (int c = 1; c <= 16; ++c)
        for (int r = 1; r <= 16; ++r) a.setElement(c, r, (c == r) ? 2.0 : 0.01 * (c - r));
    DenseMatrix x;
    x.resize(1, 16);
    for (int r = 1; r <= 16; ++r) x.setElement(1, r, r);

    DenseMatrix y;
    y.resize(1, 16);
    ASSERT_TRUE(a.multiply(x, y));
    for (int r = 1; r <= 16; ++r) {
        double expected = 0;
        for (int c = 1; c <= 16; ++c) expected += a.element(c, r) * x.element(1, c);
        EXPECT_DOUBLE_EQ(y.element(1, r), expected);
    }

    DenseMatrix wrong;
    wrong.resize(1, 21);
    wrong.fill(3.0);
    EXPECT_FALSE(a.multiply(x, wrong));
    EXPECT_EQ(wrong.rows(), 21);
    for (int r = 1; r <= 21; ++r) EXPECT_EQ(wrong.element(1, r), 3.0);

    DenseMatrix shortVector;
    shortVector.resize(1, 15);
    y.fill(-1.0);
    EXPECT_FALSE(a.multiply(shortVector, y));  // inner sizes differ
    EXPECT_EQ(y.element(1, 1), -1.0);
}

TEST(Matrix, MultiplyIntoAnOperandUsesTheOldValues) {
    DenseMatrix a = FromRows({{1, 2}, {3, 4}});
    ASSERT_TRUE(a.multiply(a, a));  // a := a * a
    EXPECT_EQ(a.element(1, 1), 7.0);
    EXPECT_EQ(a.element(2, 1), 10.0);
    EXPECT_EQ(a.element(1, 2), 15.0);
    EXPECT_EQ(a.element(2, 2), 22.0);

    DenseMatrix m = FromRows({{0, 1}, {1, 0}});
    DenseMatrix v = FromRows({{5}, {6}});
    ASSERT_TRUE(m.multiply(v, v));
    EXPECT_EQ(v.element(1, 1), 6.0);
    EXPECT_EQ(v.element(1, 2), 5.0);
}

TEST(Matrix, AddNeedsEqualShapes) {
    DenseMatrix a = FromRows({{1, 2}, {3, 4}});
    DenseMatrix b = FromRows({{10, 20}, {30, 40}});
    ASSERT_TRUE(a.add(b));
    EXPECT_EQ(a.element(2, 2), 44.0);
    DenseMatrix column = FromRows({{1}, {1}});
    EXPECT_FALSE(a.add(column));
    EXPECT_EQ(a.element(1, 1), 11.0);
}

TEST(Matrix, InvertRowExchange) {
    DenseMatrix m = FromRows({{0, 1}, {1, 0}});
    ASSERT_TRUE(m.invert());
    EXPECT_EQ(m.element(1, 1), 0.0);
    EXPECT_EQ(m.element(2, 1), 1.0);
    EXPECT_EQ(m.element(1, 2), 1.0);
    EXPECT_EQ(m.element(2, 2), 0.0);
}

TEST(Matrix, InvertFailures) {
    DenseMatrix zeroRow = FromRows({{1, 2}, {0, 0}});
    EXPECT_FALSE(zeroRow.invert());
    DenseMatrix dependent = FromRows({{1, 2}, {2, 4}});
    EXPECT_FALSE(dependent.invert());
    DenseMatrix nonSquare = FromRows({{1, 2, 3}, {4, 5, 6}});
    EXPECT_FALSE(nonSquare.invert());
    EXPECT_EQ(nonSquare.element(3, 2), 6.0);  // unchanged
    DenseMatrix nan = FromRows({{NAN, 1}, {1, NAN}});
    nan.invert();  // returns, whatever it makes of it
}

TEST(Matrix, InverseTimesMatrixIsIdentity) {
    // badly scaled rows and a zero leading element exercise the implicit pivoting
    const int n = 26;
    DenseMatrix m;
    m.resize(n, n);
    for (int c = 1; c <= n; ++c) {
        for (int r = 1; r <= n; ++r) {
            double v = std::sin(0.7 * c + 1.3 * r) + (c == r ? 3.0 : 0.0);
            m.setElement(c, r, v * std::pow(10.0, (r % 5) - 2));
        }
    }
    m.setElement(1, 1, 0.0);
    DenseMatrix inverse;
    inverse.copyFrom(&m);
    ASSERT_TRUE(inverse.invert());
    DenseMatrix product;
    product.resize(n, n);
    ASSERT_TRUE(inverse.multiply(m, product));
    for (int c = 1; c <= n; ++c)
        for (int r = 1; r <= n; ++r)
            EXPECT_NEAR(product.element(c, r), c == r ? 1.0 : 0.0, 1e-12) << c << "," << r;
}
