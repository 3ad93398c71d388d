// umbrix._core: the compiled part of the Python package umbrix.
#include "Common.h"
#include "platform/Error.h"

PYBIND11_MODULE(_core, m) {
    using namespace umbrix;
    m.doc() = "The Umbrix engine over numpy arrays (the compiled part of the package umbrix).";
    m.attr("__version__") = UMBRIX_VERSION;
    // the messages of the command line: a file that cannot be read is an OSError, a value or a
    // file's content that cannot be taken a ValueError
    pybind11::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const FileError& e) {
            PyErr_SetString(PyExc_OSError, e.what());
        } catch (const UmbrixError& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        }
    });
    python::RegisterIndices(m);
    python::RegisterRadiation(m);
    python::RegisterHorizon(m);
    python::RegisterRows(m);
    python::RegisterClasses(m);
}
