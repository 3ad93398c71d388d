"""The vectorised functions: broadcasting, NaN for what cannot be computed, errors."""
import numpy as np
import pytest

import umbrix

AIR = dict(Ta=25.0, RH=50.0, v=1.0, Tmrt=40.0)
FUNCTIONS = [umbrix.utci, umbrix.pmv, umbrix.pet, umbrix.set_star, umbrix.perceived_temperature,
             umbrix.mpet]


@pytest.mark.parametrize("f", FUNCTIONS, ids=lambda f: f.__name__)
def test_broadcasting_gives_each_element_its_own_value(f):
    Ta = np.array([[-10.0], [15.0], [32.0]])   # 3 x 1
    v = np.array([0.5, 2.0, 4.0, 8.0])  # 4
    out = f(Ta=Ta, RH=60, v=v, Tmrt=Ta + 10)
    assert out.shape == (3, 4) and out.dtype == np.float64
    for i in range(3):
        for j in range(4):
            assert out[i, j] == f(Ta=Ta[i, 0], RH=60, v=v[j], Tmrt=Ta[i, 0] + 10)
    assert isinstance(f(**AIR), float)


@pytest.mark.parametrize("f", FUNCTIONS, ids=lambda f: f.__name__)
def test_missing_and_out_of_range_are_nan(f):
    Ta = np.array([20.0, np.nan, 75.0, 20.0, 20.0, 20.0])
    RH = np.array([50.0, 50.0, 50.0, 101.0, 50.0, 50.0])
    v = np.array([1.0, 1.0, 1.0, 1.0, -1.0, 1.0])
    Tmrt = np.array([30.0, 30.0, 30.0, 30.0, 30.0, np.inf])
    out = f(Ta=Ta, RH=RH, v=v, Tmrt=Tmrt)
    assert np.isfinite(out[0])
    assert np.isnan(out[1:]).all()


@pytest.mark.parametrize("f", [umbrix.pmv, umbrix.pet, umbrix.set_star, umbrix.mpet],
                         ids=lambda f: f.__name__)
def test_a_person_out_of_range_is_nan_and_a_bad_sex_an_error(f):
    out = f(**AIR, height=[1.75, 3.5], weight=[75, 75], age=[35, 200])
    assert np.isfinite(out[0]) and np.isnan(out[1])
    assert np.isfinite(f(**AIR, sex="f", posture="sitting"))
    with pytest.raises(ValueError, match="sex"):
        f(**AIR, sex="x")


def test_vapour_pressure_and_relative_humidity_give_the_same():
    vp = umbrix.vapour_pressure(Ta=25, RH=50)
    assert umbrix.utci(Ta=25, VP=vp, v=1, Tmrt=40) == pytest.approx(umbrix.utci(**AIR), abs=1e-9)
    assert umbrix.relative_humidity(Ta=25, VP=vp) == pytest.approx(50)
    assert np.isnan(umbrix.utci(Ta=25, VP=vp * 3, v=1, Tmrt=40))  # above saturation


def test_utci_is_nan_outside_its_regression_and_never_9999():
    out = umbrix.utci(Ta=[-60, 55, 20, 20], RH=50, v=[1, 1, 30, 1], Tmrt=[-60, 55, 20, 110])
    assert np.isnan(out).all()


@pytest.mark.parametrize("f", FUNCTIONS, ids=lambda f: f.__name__)
def test_threads_give_the_same_bits(f):
    rng = np.random.default_rng(5)
    n = 3000 if f is not umbrix.mpet else 60
    Ta = rng.uniform(-20, 40, n)
    kw = dict(Ta=Ta, RH=rng.uniform(10, 95, n), v=rng.uniform(0.3, 8, n), Tmrt=Ta + 15)
    assert np.array_equal(f(**kw, threads=1), f(**kw, threads=2), equal_nan=True)


def test_radiation_threads_give_the_same_bits_and_empty_inputs_an_empty_result():
    hours = np.arange(0, 24, 0.25)
    kw = dict(lon=7.85, lat=48, tz=1, doy=172, hour=hours, Ta=25, RH=50, v=1, N=3,
              svf=np.linspace(0.2, 1, len(hours)))
    one, two = umbrix.radiation(**kw, threads=1), umbrix.radiation(**kw, threads=2)
    assert all(np.array_equal(one[k], two[k], equal_nan=True) for k in one)
    assert umbrix.utci(Ta=np.empty((0, 3)), RH=50, v=1, Tmrt=20).shape == (0, 3)
    assert umbrix.radiation(**dict(kw, hour=np.empty(0), svf=None))["Tmrt"].shape == (0,)


@pytest.mark.parametrize("kwargs,message", [
    (dict(Ta=20, v=1, Tmrt=30), "humidity"),
    (dict(Ta=20, VP=10, RH=50, v=1, Tmrt=30), "humidity"),
    (dict(Ta=[1, 2, 3], RH=[1, 2], v=1, Tmrt=30), "broadcast"),
    (dict(Ta="warm", RH=50, v=1, Tmrt=30), "Ta"),
    (dict(**AIR, threads=0), "threads"),
    (dict(Ta=None, RH=50, v=1, Tmrt=30), "give Ta"),
])
def test_bad_arguments_raise_value_error(kwargs, message):
    with pytest.raises(ValueError, match=message):
        umbrix.utci(**kwargs)


def test_pet_details_and_help_texts():
    d = umbrix.pet(**AIR, details=True)
    assert d["PET"] == umbrix.pet(**AIR) and 36 < d["Tc"] < 38 and 0 <= d["SWt"] <= 1
    m = umbrix.mpet(**AIR, details=True)
    assert m["mPET"] == umbrix.mpet(**AIR) and set(m) >= {"Tsk1", "Tcl", "sweat_rate"}
    assert "°C" in umbrix.utci.__doc__ and "Int J Biometeorol" in umbrix.utci.__doc__
    assert "m/s" in umbrix.pmv.__doc__


def test_sun_position_and_radiation():
    sun = umbrix.sun_position(lon=7.85, lat=48, tz=1, doy=172, hour=np.arange(0, 24.0))
    assert sun["elevation"].argmax() in (12, 13) and sun["elevation"][0] < 0
    t = np.datetime64("2025-06-21T12:00")
    assert umbrix.sun_position(lon=7.85, lat=48, tz=1, time=t)["Z"] == sun["Z"][12]
    r = umbrix.radiation(lon=7.85, lat=48, tz=1, doy=172, hour=12.0, Ta=25, RH=50, v=1, N=0,
                         svf=[1.0, 0.6, np.nan])
    assert r["Tmrt"][0] > 40 and r["D"][1] < r["D"][0] and np.isnan(r["Tmrt"][2])
    assert np.isnan(umbrix.radiation(lon=7.85, lat=48, doy=172, hour=25.0, Ta=25, RH=50, v=1,
                                     N=0)["G"])


def test_stress_classes_include_their_upper_bound():
    classes = umbrix.stress_classes("UTCI")
    assert len(classes) == 10 and classes[5].label == "no thermal stress"
    assert umbrix.stress_classes("UTCI", "de")[5].label != classes[5].label
    assert umbrix.stress_class([9.0, 9.1, 26.0, 26.1, np.nan]).tolist() == [4, 5, 5, 6, -1]
    assert umbrix.stress_class(35.1, "PET") == 7 and umbrix.stress_class(0.0, "pmv") == 3
    with pytest.raises(ValueError, match="UTCI"):
        umbrix.stress_class(1.0, "SET")
