# Whether the Python module can be built: Python 3 with its development files, numpy and
# pybind11. UMBRIX_PYTHON is on by default when they are there; UMBRIX_PYTHON_MISSING names what
# is not, for the test that reports the module as skipped.
#
# Debian's interpreter is the one whose packages (python3-numpy, python3-pybind11, ...) the module
# is built and tested with; a python3 found first on PATH may be another build without them.
if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
  set(Python3_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "The Python interpreter of the umbrix module")
endif()

set(UMBRIX_PYTHON_MISSING "")
if(UMBRIX_SANITIZE OR UMBRIX_FUZZ)
  # an instrumented module would need the sanitizer runtime preloaded into the interpreter
  option(UMBRIX_PYTHON "Build the Python module umbrix" OFF)
  return()
endif()
find_package(Python3 COMPONENTS Interpreter Development.Module QUIET)
if(NOT Python3_FOUND)
  set(UMBRIX_PYTHON_MISSING "Python 3 with its development files (python3-dev)")
else()
  execute_process(COMMAND ${Python3_EXECUTABLE} -c "import numpy"
    RESULT_VARIABLE _umbrix_numpy OUTPUT_QUIET ERROR_QUIET)
  find_package(pybind11 CONFIG QUIET)
  if(NOT _umbrix_numpy EQUAL 0)
    set(UMBRIX_PYTHON_MISSING "numpy for ${Python3_EXECUTABLE} (python3-numpy)")
  elseif(NOT pybind11_FOUND)
    set(UMBRIX_PYTHON_MISSING "pybind11 (pybind11-dev)")
  endif()
endif()

if(UMBRIX_PYTHON_MISSING STREQUAL "")
  option(UMBRIX_PYTHON "Build the Python module umbrix" ON)
else()
  option(UMBRIX_PYTHON "Build the Python module umbrix" OFF)
  if(UMBRIX_PYTHON)
    message(FATAL_ERROR "UMBRIX_PYTHON needs ${UMBRIX_PYTHON_MISSING}")
  endif()
  message(STATUS "Python module: not built, no ${UMBRIX_PYTHON_MISSING}")
endif()
