#pragma once
// Small dense matrix of doubles for the mPET body model: state vectors and system matrices of
// order up to 26. Elements are stored column by column, indices are 1-based, and every element
// access names the column first and the row second. A column vector of n values has one column
// and n rows. Inversion: Crout LU decomposition with implicit partial pivoting
// (Press, Teukolsky, Vetterling, Flannery 1992, Numerical Recipes, 2nd ed., sec. 2.3).
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace umbrix {

class DenseMatrixError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Raised when the matrix cannot get the memory it needs.
class DenseMatrixMemoryError : public DenseMatrixError {
  public:
    using DenseMatrixError::DenseMatrixError;
};

class DenseMatrix {
  public:
    static constexpr long kMaxElements = 2000;

    // A 1x1 matrix whose element is 0.
    explicit DenseMatrix(std::string name = {});

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    std::string ownerData;                       // free text for the owner; cleared on creation
    std::function<void(DenseMatrix&)> onChange;  // called after every change of shape or content

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    // Sizes below 1 become 1; the other size stays.
    void setColumns(int n);
    void setRows(int n);
    // Elements present in both shapes keep their values, new ones are 0. Sizes below 1 become 1;
    // more than kMaxElements elements raise DenseMatrixError and leave the matrix as it was.
    void resize(int columns, int rows);

    // 0 when either index is out of range.
    double element(int column, int row) const;
    // Out-of-range indices are ignored.
    void setElement(int column, int row, double value);
    void fill(double value);
    // Takes the shape and the elements of source; a null source does nothing.
    void copyFrom(const DenseMatrix* source);

    // c := this x b. False, and c untouched, when this has not as many columns as b has rows or
    // c does not already have the shape of the product; c is never resized. c may be this or b.
    bool multiply(const DenseMatrix& b, DenseMatrix& c) const;
    // this := this + b; false, and nothing changed, when the shapes differ.
    bool add(const DenseMatrix& b);
    // Replaces a square matrix by its inverse. False for a non-square matrix (unchanged) and for
    // a singular one (then the matrix holds the partial LU factors).
    bool invert();

    // Contiguous column-major storage, columns() * rows() values.
    const double* data() const { return data_.data(); }

  private:
    double& at(int column, int row) { return data_[size_t(column - 1) * rows_ + (row - 1)]; }
    void changed();
    [[noreturn]] void outOfMemory() const;

    std::string name_;
    int columns_ = 1;
    int rows_ = 1;
    std::vector<double> data_;
};

}  // namespace umbrix
