"""The place, the person and the pre-settings of a table, with the main window's defaults."""

from dataclasses import dataclass
from typing import Optional


@dataclass(frozen=True)
class Site:
    """The location of calculation.

    lon: degrees east (-180 ... 360, above 180 counts west); lat: degrees north (-90 ... 90);
    alt: altitude, m (the radiation model takes whole metres); tz: time zone of the local
    standard time, hours east of UTC (-12 ... 14, no daylight saving time).
    """

    lon: float
    lat: float
    alt: float = 0.0
    tz: float = 0.0
    name: str = ""


@dataclass(frozen=True)
class Person:
    """The person of the thermal indices, with the main window's defaults.

    height: m; weight: kg; age: years (PMV takes whole years); sex: "m" or "f"; clo: clothing,
    clo; act: activity, W added to the basal metabolic rate; posture: "standing" or "sitting"
    (PET and mPET); auto_clothing: mPET takes the standard clothing of the air temperature.
    """

    height: float = 1.75
    weight: float = 75.0
    age: float = 35
    sex: str = "m"
    clo: float = 0.9
    act: float = 80.0
    posture: str = "standing"
    auto_clothing: bool = True


@dataclass(frozen=True)
class Settings:
    """The model parameters of the pre-settings, with their defaults.

    albedo: short-wave albedo of the surroundings (0 ... 1); albedo_human: of the person;
    bowen: Bowen ratio of the ground (-0.9 ... 100); LTF: Linke turbidity (1 ... 40, None:
    automatic); DG: ratio of diffuse and global radiation for a given G (0 ... 1, None:
    automatic); fog_limit: RH, %, from which the radiation is diffuse only; reduce_G: a given G
    loses its direct part behind the horizon; tmrt_horizontal: Tmrt from the direct radiation on
    the horizontal (earlier versions); set_sedentary: SET* matched to the sedentary standard
    environment (earlier versions).
    """

    albedo: float = 0.2
    albedo_human: float = 0.3
    bowen: float = 1.0
    LTF: Optional[float] = None
    DG: Optional[float] = None
    fog_limit: float = 90.0
    reduce_G: bool = False
    tmrt_horizontal: bool = False
    set_sedentary: bool = False


def as_type(cls, value, what):
    """An instance of cls from an instance, a dict of its fields, or None (the defaults)."""
    if value is None:
        return cls()
    if isinstance(value, cls):
        return value
    if isinstance(value, dict):
        try:
            return cls(**value)
        except TypeError as e:
            raise ValueError(f"{what}: {e}") from None
    raise ValueError(f"{what} is a umbrix.{cls.__name__} or a dict of its fields, not {value!r}")
