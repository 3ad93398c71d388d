"""The assessment classes of the thermal indices."""

from collections import namedtuple

import numpy as np

from . import _core

StressClass = namedtuple("StressClass", ["lower", "upper", "label", "rgb"])


def stress_classes(index="UTCI", language="en"):
    """The assessment classes of an index ("UTCI", "PET", "PMV" or "PT"), coldest first, as
    StressClass(lower, upper, label, rgb): each class holds the values above `lower` up to and
    including `upper` (-inf and inf at the ends), its label in English ("en") or German ("de"),
    and its chart colour as 0xRRGGBB.

    UTCI: Bröde P et al. (2012) Int J Biometeorol 56:481-494 (ten classes from "extreme cold
    stress" to "extreme heat stress"). PET: Matzarakis A, Mayer H (1996) WHO Newsletter 18:7-10
    and VDI 3787 part 2 (2008). PMV: ISO 7730 (2005). PT: Staiger H et al. (2012) Int J
    Biometeorol 56:165-176.
    """
    if language not in ("en", "de"):
        raise ValueError(f"language is 'en' or 'de', not {language!r}")
    return [StressClass(*c) for c in _core._stress_classes(str(index), language == "de")]


def stress_class(values, index="UTCI"):
    """The class of each value as an index into stress_classes(index) (int array of the shape
    of values); -1 for NaN. Classify the printed value when a table shows it rounded."""
    a = np.asarray(values, dtype=np.float64)
    out = _core._stress_class(str(index), np.ascontiguousarray(a.reshape(-1))).reshape(a.shape)
    return out[()] if out.ndim == 0 else out
