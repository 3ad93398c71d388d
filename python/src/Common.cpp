#include "Common.h"

#include <unistd.h>

#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "engine/PhysicalRanges.h"
#include "umbrix/engine.h"

namespace umbrix::python {

namespace {

std::size_t CheckedSize(std::size_t size, std::size_t n, const char* name) {
    if (size != 1 && size != n)
        throw py::value_error(std::string(name) + " has " + std::to_string(size) + " values for " +
                              std::to_string(n) + " elements");
    return size;
}

}  // namespace

Column ColumnOf(const Array& array, std::size_t n, const char* name) {
    return {array.data(), CheckedSize(std::size_t(array.size()), n, name)};
}

Column ColumnOf(const OptionalArray& array, std::size_t n, const char* name) {
    if (!array) return {};
    return ColumnOf(*array, n, name);
}

Codes CodesOf(const CodeArray& array, std::size_t n, const char* name) {
    return {array.data(), CheckedSize(std::size_t(array.size()), n, name)};
}

batch::ThreadPool& Pool(unsigned threads) {
    static std::mutex mutex;
    // by process as well: the threads of a pool do not survive a fork, so a child makes its
    // own; the parent's pools are left alone, never destroyed
    static std::map<std::pair<pid_t, unsigned>, batch::ThreadPool*> pools;
    std::lock_guard lock(mutex);
    batch::ThreadPool*& pool = pools[{getpid(), threads}];
    if (!pool) pool = new batch::ThreadPool(threads);
    return *pool;
}

void ForBlocks(std::size_t n, std::size_t block, unsigned threads,
               const std::function<void(std::size_t, std::size_t)>& body) {
    if (n == 0) return;
    py::gil_scoped_release release;
    Pool(threads).forEachBlock(n, block, body);
}

bool PersonColumns::inRange(std::size_t i) const {
    // in 4-byte floats, as the person's fields hold them
    return InRange(Quantity::Height, float(height[i])) &&
           InRange(Quantity::Weight, float(weight[i])) && InRange(Quantity::Age, age[i]) &&
           InRange(Quantity::Clothing, float(clothing[i])) &&
           InRange(Quantity::Activity, float(activity[i]));
}

Person PersonColumns::at(std::size_t i) const {
    Person p;
    p.height = height[i];
    p.weight = weight[i];
    p.age = age[i];
    p.sex = Sex(sex[i]);
    p.clothing = clothing[i];
    p.activity = activity[i];
    p.posture = Posture(posture[i]);
    p.autoClothing = autoClothing;
    return p;
}

PersonColumns PersonOf(std::size_t n, const Array& height, const Array& weight, const Array& age,
                       const Array& clothing, const Array& activity, const CodeArray& sex,
                       const CodeArray& posture) {
    PersonColumns p;
    p.height = ColumnOf(height, n, "height");
    p.weight = ColumnOf(weight, n, "weight");
    p.age = ColumnOf(age, n, "age");
    p.clothing = ColumnOf(clothing, n, "clo");
    p.activity = ColumnOf(activity, n, "act");
    p.sex = CodesOf(sex, n, "sex");
    p.posture = CodesOf(posture, n, "posture");
    return p;
}

BatchPerson::BatchPerson(const PersonColumns& p, std::size_t begin, std::size_t end) {
    for (std::int32_t code : p.sex.block(begin, end)) sex.push_back(Sex(code));
    for (std::int32_t code : p.posture.block(begin, end)) posture.push_back(Posture(code));
    person = {sex,
              posture,
              p.age.block(begin, end),
              p.height.block(begin, end),
              p.weight.block(begin, end),
              p.clothing.block(begin, end),
              p.activity.block(begin, end)};
}

bool VapourInRange(double Ta, double VP) {
    // the limit at whole degrees -90 ... 61: it rises with Ta, so the limits of the two whole
    // degrees around Ta decide unless VP lies between them
    static const std::array<double, 152> limits = [] {
        std::array<double, 152> l{};
        for (std::size_t k = 0; k < l.size(); ++k) l[k] = VapourPressureLimit(double(k) - 90.0);
        return l;
    }();
    if (!(VP >= 0)) return false;
    const auto k = std::size_t(std::floor(Ta) + 90.0);
    if (VP <= limits[k]) return true;
    if (VP > limits[k + 1]) return false;
    return VP <= VapourPressureLimit(Ta);
}

bool AirColumns::inRange(std::size_t i) const {
    const double ta = Ta[i];
    if (!InRange(Quantity::AirTemperature, ta) || !InRange(Quantity::WindSpeed, v[i]) ||
        !InRange(Quantity::MeanRadiantTemperature, Tmrt[i]))
        return false;
    return VP.given() ? VapourInRange(ta, VP[i]) : InRange(Quantity::RelativeHumidity, RH[i]);
}

AirColumns AirOf(std::size_t n, const Array& Ta, const OptionalArray& VP, const OptionalArray& RH,
                 const Array& v, const Array& Tmrt) {
    AirColumns a;
    a.Ta = ColumnOf(Ta, n, "Ta");
    a.VP = ColumnOf(VP, n, "VP");
    a.RH = ColumnOf(RH, n, "RH");
    a.v = ColumnOf(v, n, "v");
    a.Tmrt = ColumnOf(Tmrt, n, "Tmrt");
    if (!a.VP.given() && !a.RH.given()) throw py::value_error("give the humidity: VP or RH");
    return a;
}

BlockVapour::BlockVapour(const AirColumns& air, std::size_t begin, std::size_t end,
                         Precision precision)
    : air_(air), begin_(begin) {
    if (air.VP.given()) return;
    derived_.resize(end - begin);
    for (std::size_t i = begin; i < end; ++i) {
        const double vp =
            precision == Precision::Float
                ? double(float(humidity::VapourPressure(float(air.Ta[i]), float(air.RH[i]))))
                : humidity::VapourPressure(air.Ta[i], air.RH[i]);
        derived_[i - begin] = vp;
    }
}

std::span<const double> BlockVapour::block(std::size_t b, std::size_t e) const {
    if (air_.VP.given()) return air_.VP.block(b, e);
    return std::span<const double>(derived_).subspan(b - begin_, e - b);
}

Settings SettingsOf(py::handle s) {
    auto number = [&s](const char* name) {
        py::object x = s.attr(name);
        return x.is_none() ? kNotGiven : x.cast<double>();
    };
    Settings settings;
    settings.albedo = number("albedo");
    settings.albedoHuman = number("albedo_human");
    settings.bowen = number("bowen");
    settings.turbidity = number("LTF");
    settings.diffuseRatio = number("DG");
    settings.fogLimit = number("fog_limit");
    settings.reduceGByObstacles = s.attr("reduce_G").cast<bool>();
    settings.tmrtFromHorizontalDirect = s.attr("tmrt_horizontal").cast<bool>();
    settings.setStarSedentary = s.attr("set_sedentary").cast<bool>();
    return settings;
}

const Horizon& HorizonOf(py::handle horizon) {
    static const Horizon free;
    if (horizon.is_none()) return free;
    return horizon.cast<const Horizon&>();
}

}  // namespace umbrix::python
