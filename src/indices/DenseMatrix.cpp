#include "indices/DenseMatrix.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace umbrix {

namespace {

constexpr double kTinyPivot = 1e-100;

}  // namespace

DenseMatrix::DenseMatrix(std::string name) : name_(std::move(name)) {
    try {
        data_.assign(1, 0.0);
    } catch (const std::bad_alloc&) {
        outOfMemory();
    }
}

void DenseMatrix::outOfMemory() const {
    throw DenseMatrixMemoryError("Component \"" + name_ + "\": not enough memory on heap");
}

void DenseMatrix::changed() {
    if (onChange) onChange(*this);
}

void DenseMatrix::setColumns(int n) {
    resize(n, rows_);
}

void DenseMatrix::setRows(int n) {
    resize(columns_, n);
}

void DenseMatrix::resize(int columns, int rows) {
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
    // 64-bit product: two large int sizes must not wrap round below the limit
    long long count = static_cast<long long>(columns) * rows;
    if (count > kMaxElements) {
        throw DenseMatrixError("TMatrix.Resize: " + std::to_string(columns) + " columns x " +
                               std::to_string(rows) + " rows exceed the limit of " +
                               std::to_string(kMaxElements) + " elements");
    }
    if (columns != columns_ || rows != rows_) {
        std::vector<double> resized;
        try {
            resized.assign(size_t(count), 0.0);
        } catch (const std::bad_alloc&) {
            outOfMemory();
        }
        int keepColumns = std::min(columns, columns_);
        int keepRows = std::min(rows, rows_);
        for (int c = 0; c < keepColumns; ++c) {
            std::copy_n(data_.begin() + size_t(c) * rows_, keepRows,
                        resized.begin() + size_t(c) * rows);
        }
        data_.swap(resized);
        columns_ = columns;
        rows_ = rows;
    }
    changed();
}

double DenseMatrix::element(int column, int row) const {
    if (column < 1 || column > columns_ || row < 1 || row > rows_) return 0.0;
    return data_[size_t(column - 1) * rows_ + (row - 1)];
}

void DenseMatrix::setElement(int column, int row, double value) {
    if (column < 1 || column > columns_ || row < 1 || row > rows_) return;
    at(column, row) = value;
    changed();
}

void DenseMatrix::fill(double value) {
    std::fill(data_.begin(), data_.end(), value);
    changed();
}

void DenseMatrix::copyFrom(const DenseMatrix* source) {
    if (source == nullptr || source == this) return;
    resize(source->columns_, source->rows_);
    data_ = source->data_;
    changed();
}

bool DenseMatrix::multiply(const DenseMatrix& b, DenseMatrix& c) const {
    if (columns_ != b.rows_ || c.rows_ != rows_ || c.columns_ != b.columns_) return false;
    // c may share storage with an operand: build the product apart, then store it
    std::vector<double> product(size_t(rows_) * b.columns_);
    for (int j = 1; j <= b.columns_; ++j) {
        const double* bColumn = b.data_.data() + size_t(j - 1) * b.rows_;
        for (int i = 1; i <= rows_; ++i) {
            double sum = 0.0;
            for (int k = 1; k <= columns_; ++k) {
                sum += data_[size_t(k - 1) * rows_ + (i - 1)] * bColumn[k - 1];
            }
            product[size_t(j - 1) * rows_ + (i - 1)] = sum;
        }
    }
    c.data_.swap(product);
    c.changed();
    return true;
}

bool DenseMatrix::add(const DenseMatrix& b) {
    if (b.columns_ != columns_ || b.rows_ != rows_) return false;
    for (size_t k = 0; k < data_.size(); ++k) data_[k] += b.data_[k];
    changed();
    return true;
}

bool DenseMatrix::invert() {
    if (columns_ != rows_) return false;
    const int n = rows_;
    std::vector<int> pivotRow;
    std::vector<double> scale, column, inverse;
    try {
        pivotRow.assign(size_t(n) + 1, 0);
        scale.assign(size_t(n) + 1, 0.0);
        column.assign(size_t(n) + 1, 0.0);
        inverse.assign(size_t(n) * n, 0.0);
    } catch (const std::bad_alloc&) {
        outOfMemory();
    }
    // a(r, c): row r, column c, 1-based
    auto a = [this](int r, int c) -> double& { return at(c, r); };

    bool regular = true;
    for (int i = 1; i <= n; ++i) {
        double big = 0.0;
        for (int j = 1; j <= n; ++j) big = std::max(big, std::fabs(a(i, j)));
        if (big == 0.0) {
            regular = false;
            break;
        }
        scale[i] = 1.0 / big;
    }

    if (regular) {
        for (int j = 1; j <= n; ++j) {
            for (int i = 1; i < j; ++i) {
                double sum = a(i, j);
                for (int k = 1; k < i; ++k) sum -= a(i, k) * a(k, j);
                a(i, j) = sum;
            }
            double big = 0.0;
            int imax = j;  // stays j when no candidate compares (NaN elements)
            for (int i = j; i <= n; ++i) {
                double sum = a(i, j);
                for (int k = 1; k < j; ++k) sum -= a(i, k) * a(k, j);
                a(i, j) = sum;
                double merit = scale[i] * std::fabs(sum);
                if (merit >= big) {
                    big = merit;
                    imax = i;
                }
            }
            if (j != imax) {
                for (int k = 1; k <= n; ++k) std::swap(a(imax, k), a(j, k));
                scale[imax] = scale[j];
            }
            pivotRow[j] = imax;
            if (std::fabs(a(j, j)) < kTinyPivot) {
                a(j, j) = kTinyPivot;
                regular = false;
            }
            if (j != n) {
                double pivot = a(j, j);
                for (int i = j + 1; i <= n; ++i) a(i, j) /= pivot;
            }
        }
    }
    if (!regular) {
        changed();
        return false;
    }

    for (int e = 1; e <= n; ++e) {
        std::fill(column.begin(), column.end(), 0.0);
        column[e] = 1.0;
        // forward substitution, starting at the first non-zero of the right-hand side
        int first = 0;
        for (int i = 1; i <= n; ++i) {
            int p = pivotRow[i];
            double sum = column[p];
            column[p] = column[i];
            if (first != 0) {
                for (int k = first; k < i; ++k) sum -= a(i, k) * column[k];
            } else if (sum != 0.0) {
                first = i;
            }
            column[i] = sum;
        }
        for (int i = n; i >= 1; --i) {
            double sum = column[i];
            for (int k = i + 1; k <= n; ++k) sum -= a(i, k) * column[k];
            column[i] = sum / a(i, i);
        }
        for (int r = 1; r <= n; ++r) inverse[size_t(e - 1) * n + (r - 1)] = column[r];
    }
    data_.swap(inverse);
    changed();
    return true;
}

}  // namespace umbrix
