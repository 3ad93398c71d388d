"""The vectorised functions: the engine over numpy arrays, with numpy broadcasting."""

import numpy as np

from . import _core
from ._arrays import POSTURE_CODES, SEX_CODES, Batch, codes, day_and_hour, humidity, threads_of
from ._types import Settings

F = np.float64
I = np.int32

_PERSON_DOC = """
    Person (the main window's defaults; numbers broadcast like the weather):
        height: m (1.75); weight: kg (75); age: years (35); sex: "m" or "f";
        clo: clothing, clo (0.9); act: activity, W added to the basal metabolic rate (80);
        posture: "standing" or "sitting" (PET and mPET)."""

_COMMON_DOC = """
    All inputs broadcast against each other as numpy arrays do; the result has the broadcast
    shape, float64. An element with a value missing (NaN) or outside its physical range (Ta
    -90 ... 60 °C, VP 0 ... saturation at Ta, RH 0 ... 100 %, v 0 ... 60 m/s, Tmrt -100 ... 120
    °C, height 0.5 ... 2.75 m, weight 1 ... 650 kg, age 0 ... 125 a, clo 0 ... 5, act 0 ... 1000 W)
    is NaN, and so is one where the index is not defined. Give the humidity as VP (hPa) or RH
    (%). The work runs without the GIL on `threads` threads (None: every core)."""


def _given(**values):
    """ValueError naming the first of values that is None: a quantity without a default."""
    for name, value in values.items():
        if value is None:
            raise ValueError(f"give {name}: it has no default")


def _air(Ta, VP, RH, v, Tmrt, **more):
    _given(Ta=Ta, v=v, Tmrt=Tmrt)
    VP, RH = humidity(VP, RH)
    return dict(Ta=(Ta, F), VP=(VP, F), RH=(RH, F), v=(v, F), Tmrt=(Tmrt, F), **more)


def _person(height, weight, age, sex, clo, act, posture):
    _given(height=height, weight=weight, age=age, sex=sex, clo=clo, act=act, posture=posture)
    return dict(height=(height, F), weight=(weight, F), age=(age, F), clo=(clo, F),
                act=(act, F), sex=(codes(sex, SEX_CODES, "sex"), I),
                posture=(codes(posture, POSTURE_CODES, "posture"), I))


def _call(function, batch, names, threads, *options):
    flat = function(batch.n, *(batch[k] for k in names), *options, threads_of(threads))
    return batch.result(flat)


_AIR = ("Ta", "VP", "RH", "v", "Tmrt")
_PERSON = ("height", "weight", "age", "clo", "act", "sex", "posture")


def utci(*, Ta, v, Tmrt, VP=None, RH=None, threads=None):
    """UTCI, the Universal Thermal Climate Index, °C.

    Ta: air temperature, °C; VP: vapour pressure, hPa, or RH: relative humidity, %;
    v: wind speed at 1.1 m above ground, m/s (taken to 10 m with the logarithmic profile of
    a roughness length of 0.01 m); Tmrt: mean radiant temperature, °C.

    The sixth-order regression polynomial of the UTCI model: Bröde P, Fiala D, Błażejczyk K,
    Holmér I, Jendritzky G, Kampmann B, Tinz B, Havenith G (2012) Deriving the operational
    procedure for the Universal Thermal Climate Index (UTCI). Int J Biometeorol 56:481-494.
    NaN outside the range the regression was fitted on: Ta -50 ... 50 °C, wind at 10 m
    0.5 ... 17 m/s, Tmrt - Ta -30 ... 70 K, VP up to 50 hPa.
    """
    batch = Batch(**_air(Ta, VP, RH, v, Tmrt))
    return _call(_core.utci, batch, _AIR, threads)


utci.__doc__ += _COMMON_DOC


def pmv(*, Ta, v, Tmrt, VP=None, RH=None, height=1.75, weight=75.0, age=35, sex="m", clo=0.9,
        act=80.0, posture="standing", threads=None):
    """PMV, the predicted mean vote (dimensionless, not limited to the seven-point scale).

    Ta: air temperature, °C; VP: vapour pressure, hPa, or RH: relative humidity, %;
    v: wind speed at 1.1 m, m/s; Tmrt: mean radiant temperature, °C. The metabolic rate is the
    person's basal rate (as in the MEMI body model) plus the activity; the age counts in whole
    years.

    Fanger PO (1970) Thermal Comfort. Analysis and Applications in Environmental Engineering.
    Danish Technical Press, Copenhagen.
    """
    batch = Batch(**_air(Ta, VP, RH, v, Tmrt),
                  **_person(height, weight, age, sex, clo, act, posture))
    return _call(_core.pmv, batch, _AIR + _PERSON, threads)


pmv.__doc__ += _PERSON_DOC + _COMMON_DOC


def pet(*, Ta, v, Tmrt, VP=None, RH=None, height=1.75, weight=75.0, age=35, sex="m", clo=0.9,
        act=80.0, posture="standing", details=False, threads=None):
    """PET, the physiologically equivalent temperature, °C.

    Ta: air temperature, °C; VP: vapour pressure, hPa, or RH: relative humidity, %;
    v: wind speed at 1.1 m, m/s; Tmrt: mean radiant temperature, °C.

    The air temperature of a reference room (Tmrt = Ta, v = 0.1 m/s, VP = 12 hPa) at which the
    body, in the state it has outdoors, is in heat balance; the two-node model MEMI:
    Höppe P (1999) The physiological equivalent temperature - a universal index for the
    biometeorological assessment of the thermal environment. Int J Biometeorol 43:71-75.

    The elements are computed in order (C order of the broadcast shape) with one model state
    started afresh, as the rows of a table with those inputs: the model carries a few working
    values from one calculation to the next.

    details=True returns a dict of arrays: PET (°C); Tc core and Tsk mean skin temperature
    (°C); WL water loss by sweat, skin diffusion and respiration (g/h); SWt skin wettedness
    (0 ... 1); H internal heat production, and Rnb radiation balance, C convective heat flow,
    Evpd water vapour diffusion through the skin, Esw sweat evaporation (W).
    """
    batch = Batch(**_air(Ta, VP, RH, v, Tmrt),
                  **_person(height, weight, age, sex, clo, act, posture))
    return _call(_core.pet, batch, _AIR + _PERSON, threads, bool(details))


pet.__doc__ += _PERSON_DOC + _COMMON_DOC


def set_star(*, Ta, v, Tmrt, VP=None, RH=None, height=1.75, weight=75.0, age=35, sex="m",
             clo=0.9, act=80.0, posture="standing", sedentary=False, threads=None):
    """SET*, the standard effective temperature, °C.

    Ta: air temperature, °C; VP: vapour pressure, hPa, or RH: relative humidity, %;
    v: wind speed at 1.1 m, m/s; Tmrt: mean radiant temperature, °C.

    A two-node (core and skin) model of the body exposed for one hour to the environment,
    matched to a standard environment: Gagge AP, Fobelets AP, Berglund LG (1986) A standard
    predictive index of human response to the thermal environment. ASHRAE Transactions
    92(2B):709-731. The standard environment follows the activity as in ASHRAE Standard
    55-2020, Normative Appendix D; sedentary=True matches to the sedentary standard environment
    (0.6 clo) of earlier versions. Body surface after DuBois and DuBois (1916).
    """
    batch = Batch(**_air(Ta, VP, RH, v, Tmrt),
                  **_person(height, weight, age, sex, clo, act, posture))
    return _call(_core.set_star, batch, _AIR + _PERSON, threads, bool(sedentary))


set_star.__doc__ += _PERSON_DOC + _COMMON_DOC


def perceived_temperature(*, Ta, v, Tmrt, VP=None, RH=None, p=1013.0, threads=None):
    """PT, the perceived temperature, °C (Klima-Michel model).

    Ta: air temperature, °C; VP: vapour pressure, hPa, or RH: relative humidity, %;
    v: wind speed at 1.1 m, m/s; Tmrt: mean radiant temperature, °C; p: air pressure, hPa
    (the tables use 1013).

    A standard person walking at 4 km/h chooses clothing between a summer and a winter limit to
    be comfortable; the comfort vote, corrected for cold wind and sultriness, is converted into
    the temperature of a reference environment. Jendritzky G, Menz G, Schirmer H,
    Schmidt-Kessen W (1990) Methodik zur raumbezogenen Bewertung der thermischen Komponente im
    Bioklima des Menschen. Beiträge der Akademie für Raumforschung und Landesplanung 114;
    Staiger H, Laschewski G, Grätz A (2012) Int J Biometeorol 56:165-176. NaN where the
    clothing search fails (the table's -9999).
    """
    _given(p=p)
    batch = Batch(**_air(Ta, VP, RH, v, Tmrt, p=(p, F)))
    return _call(_core.perceived_temperature, batch, _AIR + ("p",), threads)


perceived_temperature.__doc__ += _COMMON_DOC


def mpet(*, Ta, v, Tmrt, VP=None, RH=None, height=1.75, weight=75.0, age=35, sex="m", clo=0.9,
         act=80.0, posture="standing", auto_clothing=True, details=False, threads=None):
    """mPET, the modified physiologically equivalent temperature, °C.

    Ta: air temperature, °C; VP: vapour pressure, hPa, or RH: relative humidity, %;
    v: wind speed at 1.1 m, m/s; Tmrt: mean radiant temperature, °C. auto_clothing=True (the
    main window's default) takes the standard clothing of the air temperature instead of clo.

    A multi-node, multi-zone body model over 1200 one-second steps and a search for the air
    temperature of a reference environment with the same heat storage: Chen Y-C, Matzarakis A
    (2018) Modified physiologically equivalent temperature - basics and applications for
    western European climate. Theor Appl Climatol 132:1275-1289. About 2 500 elements per second
    and thread. NaN for VP above 50 hPa.

    details=True returns a dict of arrays: mPET, Tc core and Tsk mean skin temperature, Tsk1 ...
    Tsk5 the skin of the zone groups (NaN for a group the clothing lacks), Tcl clothing
    temperature (°C); skin_wettedness (0 ... 1), sweat_rate (g/h); the fluxes M internal heat
    production, R radiation, C convection, L evaporation at the skin, Ere respiration, RC dry
    exchange through clothing and S heat storage (W).
    """
    batch = Batch(**_air(Ta, VP, RH, v, Tmrt),
                  **_person(height, weight, age, sex, clo, act, posture))
    return _call(_core.mpet, batch, _AIR + _PERSON, threads, bool(auto_clothing), bool(details))


mpet.__doc__ += _PERSON_DOC + _COMMON_DOC


def sun_position(*, lon, lat, tz=0.0, time=None, doy=None, hour=None, threads=None):
    """The sun's position: a dict of arrays Z (zenith angle), elevation (90 - Z), azimuth
    (clockwise from north) in degrees, and true_time (true local solar time, hours).

    lon: degrees east (-180 ... 360, above 180 west); lat: degrees north; tz: time zone,
    hours east of UTC (-12 ... 14). The time as time= (datetimes: naive ones are local standard
    time of tz, timezone-aware ones are converted to it) or as doy= (day of year, 1 ... 366) and
    hour= (local standard time, decimal hours 0 ... 24). Every input broadcasts; NaN where one is
    missing or out of range.
    """
    _given(lon=lon, lat=lat, tz=tz)
    doy, hour = day_and_hour(time, doy, hour, tz)
    batch = Batch(doy=(doy, I), hour=(hour, F), lon=(lon, F), lat=(lat, F), tz=(tz, F))
    return _call(_core.sun_position, batch, ("doy", "hour", "lon", "lat", "tz"), threads)


def radiation(*, lon, lat, Ta, v, N, alt=0.0, tz=0.0, time=None, doy=None, hour=None, VP=None,
              RH=None, G=None, D=None, Ts=None, Tmrt=None, horizon=None, svf=None, albedo=0.2,
              albedo_human=0.3, bowen=1.0, LTF=None, DG=None, fog_limit=90.0, reduce_G=False,
              tmrt_horizontal=False, threads=None):
    """The radiation step at a standing person, with Tmrt (VDI 3789 part 2, 1994).

    Returns a dict of arrays: LTF (Linke turbidity used); G0, S0, D0 clear-sky global, direct
    (on the horizontal) and diffuse radiation; G, S, D the actual ones; A long-wave
    counter-radiation of the atmosphere, E long-wave radiation of the ground, Q of the
    surroundings (W/m²); Ts ground surface temperature and Tmrt mean radiant temperature (°C).

    Place: lon (degrees east), lat (degrees north), alt (m, whole metres), tz (hours east of UTC).
    Time: time= (datetimes; naive: local standard time of tz) or doy= and hour=.
    Weather: Ta (°C), VP (hPa) or RH (%), v (m/s at 1.1 m), N (cloud cover, octas); G, D
    (measured global and diffuse radiation, W/m²), Ts (°C) and Tmrt (°C) when given; where not
    given (None, or NaN in an element) they are computed.
    Horizon: horizon= a umbrix.Horizon (free sky by default), or svf= a sky view factor per
    element (0 ... 1), taken as a horizon of one elevation angle all round.
    Pre-settings: albedo of the surroundings (0.2) and of the person (0.3), bowen ratio (1),
    LTF Linke turbidity (None: automatic), DG ratio D/G for a given G (None: automatic),
    fog_limit RH from which the radiation is diffuse only (90 %), reduce_G (a given G loses its
    direct part behind the horizon), tmrt_horizontal (Tmrt from the direct radiation on the
    horizontal, as earlier versions).

    Every input broadcasts; NaN where Ta, the humidity, v or N is missing or a value is out of
    its physical range (G and D up to 1.1 times the extraterrestrial irradiance of the day).
    """
    _given(lon=lon, lat=lat, Ta=Ta, v=v, N=N)
    VP, RH = humidity(VP, RH)
    doy, hour = day_and_hour(time, doy, hour, tz)
    if horizon is not None and svf is not None:
        raise ValueError("give the horizon as horizon= or as svf=, not both")
    if horizon is not None and not isinstance(horizon, _core.Horizon):
        from ._horizon import as_horizon

        horizon = as_horizon(horizon)
    settings = Settings(albedo=albedo, albedo_human=albedo_human, bowen=bowen, LTF=LTF, DG=DG,
                        fog_limit=fog_limit, reduce_G=reduce_G, tmrt_horizontal=tmrt_horizontal)
    names = ("doy", "hour", "lon", "lat", "alt", "tz", "Ta", "VP", "RH", "v", "N", "G", "D", "Ts",
             "Tmrt")
    values = (doy, hour, lon, lat, alt, tz, Ta, VP, RH, v, N, G, D, Ts, Tmrt, svf)
    batch = Batch(**{k: (x, I if k == "doy" else F) for k, x in zip(names + ("svf",), values)})
    flat = _core.radiation(batch.n, *(batch[k] for k in names), settings, horizon, batch["svf"],
                           threads_of(threads))
    return batch.result(flat)


def vapour_pressure(*, Ta, RH):
    """The vapour pressure, hPa, of air at Ta (°C) with the relative humidity RH (%), over
    water in the Magnus form of VDI 3789 part 2. NaN outside the ranges."""
    _given(Ta=Ta, RH=RH)
    batch = Batch(Ta=(Ta, F), RH=(RH, F))
    return batch.result(_core.vapour_pressure(batch.n, batch["Ta"], batch["RH"]))


def relative_humidity(*, Ta, VP):
    """The relative humidity, %, of air at Ta (°C) with the vapour pressure VP (hPa); a VP up to
    0.05 hPa above saturation is saturated air (100 %), a higher one NaN."""
    _given(Ta=Ta, VP=VP)
    batch = Batch(Ta=(Ta, F), VP=(VP, F))
    return batch.result(_core.relative_humidity(batch.n, batch["Ta"], batch["VP"]))
