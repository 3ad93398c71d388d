#pragma once
// What the bindings share: numpy arrays as the columns of a batch, the person and the weather
// over a batch with their physical ranges, the thread pools, and loops over the blocks of a
// batch with the GIL released.
//
// The Python layer (umbrix/_functions.py) broadcasts the inputs first, so every array holds one
// value for all elements or one per element; the functions here see flat arrays only.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "umbrix/batch.h"
#include "umbrix/thread_pool.h"
#include "umbrix/types.h"

namespace umbrix::python {

namespace py = pybind11;

using Array = py::array_t<double, py::array::c_style | py::array::forcecast>;
using CodeArray = py::array_t<std::int32_t, py::array::c_style | py::array::forcecast>;
using OptionalArray = std::optional<Array>;

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One quantity over a batch: one value for all elements, one per element, or none (not given).
template <class T>
struct Values {
    const T* data = nullptr;
    std::size_t size = 0;

    bool given() const { return size > 0; }
    T operator[](std::size_t i) const { return data[size == 1 ? 0 : i]; }
    // The values of the elements [begin, end) as the batch functions take them.
    std::span<const T> block(std::size_t begin, std::size_t end) const {
        if (size == 1) return {data, 1};
        return {data + begin, end - begin};
    }
};
using Column = Values<double>;
using Codes = Values<std::int32_t>;

// The column of an array in a batch of n elements. ValueError naming the quantity when the array
// has neither one nor n values; an absent optional array is a column that is not given.
Column ColumnOf(const Array& array, std::size_t n, const char* name);
Column ColumnOf(const OptionalArray& array, std::size_t n, const char* name);
Codes CodesOf(const CodeArray& array, std::size_t n, const char* name);

// A new float64 array of n elements and its data.
struct Output {
    py::array_t<double> array;
    double* data;
    explicit Output(std::size_t n) : array(py::ssize_t(n)), data(array.mutable_data()) {}
};

// The pool of `threads` threads (0: one per hardware thread), made once per process and kept for
// its lifetime.
batch::ThreadPool& Pool(unsigned threads);

// body(begin, end) over the blocks [0, block), [block, 2 block), ... of [0, n) on the pool of
// `threads` threads, with the GIL released. The first exception of a block is rethrown.
void ForBlocks(std::size_t n, std::size_t block, unsigned threads,
               const std::function<void(std::size_t, std::size_t)>& body);

// run(b, e) for each longest run [b, e) of elements of [begin, end) for which valid(i) holds;
// skip(i) for each other element.
template <class Valid, class Run, class Skip>
void ForValidRuns(std::size_t begin, std::size_t end, Valid valid, Run run, Skip skip) {
    std::size_t i = begin;
    while (i < end) {
        if (!valid(i)) {
            skip(i++);
            continue;
        }
        std::size_t j = i + 1;
        while (j < end && valid(j)) ++j;
        run(i, j);
        i = j;
    }
}

// The person of the indices over a batch.
struct PersonColumns {
    Column height, weight, age, clothing, activity;
    Codes sex, posture;  // values of Sex and Posture
    bool autoClothing = true;

    // Whether element i's person lies within the physical ranges (as a table row checks it).
    bool inRange(std::size_t i) const;
    Person at(std::size_t i) const;
};

PersonColumns PersonOf(std::size_t n, const Array& height, const Array& weight, const Array& age,
                       const Array& clothing, const Array& activity, const CodeArray& sex,
                       const CodeArray& posture);

// The person of elements [begin, end) as the batch functions take it; the enums live here.
struct BatchPerson {
    std::vector<Sex> sex;
    std::vector<Posture> posture;
    batch::Person person;

    BatchPerson(const PersonColumns& p, std::size_t begin, std::size_t end);
};

// Ta, the humidity (VP, or RH where VP is not given), v and Tmrt over a batch.
struct AirColumns {
    Column Ta, VP, RH, v, Tmrt;

    // Whether element i lies within the physical ranges: Ta, v and Tmrt in theirs, a given VP
    // within 0 ... saturation at Ta, else RH within 0 ... 100 %.
    bool inRange(std::size_t i) const;
};

AirColumns AirOf(std::size_t n, const Array& Ta, const OptionalArray& VP, const OptionalArray& RH,
                 const Array& v, const Array& Tmrt);

// The vapour pressures of elements [begin, end): as given, or from RH at Ta as the index
// functions of the engine derive them (in 4-byte floats for PMV, PET and mPET, in double for
// UTCI and PT).
class BlockVapour {
  public:
    enum class Precision { Float, Double };
    BlockVapour(const AirColumns& air, std::size_t begin, std::size_t end, Precision precision);
    std::span<const double> block(std::size_t b, std::size_t e) const;

  private:
    const AirColumns& air_;
    std::size_t begin_;
    std::vector<double> derived_;
};

// Whether a vapour pressure lies within 0 ... saturation at Ta (+ 0.05 hPa) for a Ta within its
// range; fast for the many elements far from saturation.
bool VapourInRange(double Ta, double VP);

// The pre-settings of a umbrix.Settings (attributes albedo, albedo_human, bowen, LTF, DG,
// fog_limit, reduce_G, tmrt_horizontal, set_sedentary; None for an automatic LTF or DG).
Settings SettingsOf(py::handle settings);

// The horizon of a umbrix.Horizon, or free sky for None.
const Horizon& HorizonOf(py::handle horizon);

// Registration of each part of the module.
void RegisterIndices(py::module_& m);
void RegisterRadiation(py::module_& m);
void RegisterHorizon(py::module_& m);
void RegisterRows(py::module_& m);
void RegisterClasses(py::module_& m);

}  // namespace umbrix::python
