// The assessment classes of the thermal indices (UTCI, PET, PMV, PT).
#include <string>

#include "Common.h"
#include "indices/StressClasses.h"

namespace umbrix::python {

namespace {

StressIndex IndexOf(const std::string& name) {
    if (const std::optional<StressIndex> index = StressIndexFromName(name)) return *index;
    throw py::value_error("the indices with assessment classes are UTCI, PET, PMV and PT, not \"" +
                          name + "\"");
}

}  // namespace

void RegisterClasses(py::module_& m) {
    using py::arg;
    m.def(
        "_stress_classes",
        [](const std::string& name, bool german) {
            py::list out;
            const TextLanguage language = german ? TextLanguage::German : TextLanguage::English;
            for (const StressClass& c : StressClasses(IndexOf(name)))
                out.append(py::make_tuple(c.lower, c.upper, std::string(c.label(language)), c.rgb));
            return out;
        },
        arg("index"), arg("german"));
    m.def(
        "_stress_class",
        [](const std::string& name, const Array& values) {
            const StressIndex index = IndexOf(name);
            py::array_t<std::int32_t> out(values.size());
            std::int32_t* o = out.mutable_data();
            const double* x = values.data();
            {
                py::gil_scoped_release release;
                for (py::ssize_t i = 0; i < values.size(); ++i) o[i] = StressClassOf(index, x[i]);
            }
            return out;
        },
        arg("index"), arg("values"));
}

}  // namespace umbrix::python
