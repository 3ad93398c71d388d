#pragma once
// The records of one point calculation: the inputs read from the main window when a command
// runs, and the results of one row, overwritten for every row.
#include <string>

#include "platform/DateTime.h"

namespace umbrix {

// Inputs of a point calculation. The meteorological values of the row (Ta, VP, RH, v, N, Ts,
// G, Tmrt) live in CalculationResults, because the radiation step overwrites G, Ts and Tmrt with
// the values it used and the row shows those.
struct CalculationInputs {
    std::string dateText;  // short date format
    Date date;
    int dayOfYear = 1;     // 1 = 1 January
    std::string timeText;  // long time format
    float hours = 0;       // local time, decimal hours in [0, 24)
    std::string tag;       // enumerator of a data-file row; empty: the row counter is written
    std::string locationName;
    float longitude = 0;       // degrees east
    float latitude = 0;        // degrees north
    int altitude = 0;          // m
    float timeZone = 0;        // hours east of UTC, (-12, 12]
    float height = 1.75f;      // m
    float weight = 75.0f;      // kg
    int age = 35;              // years
    std::string sex = "m";     // combo text
    int sexIndex = 0;          // 0 = m, 1 = f; the indices take 1/2 (SET* takes 0/1)
    float clothing = 0.9f;     // clo
    float activity = 80.0f;    // W
    int position = 0;          // 0 = standing, 1 = sitting; PET and mPET take 1/2
    bool autoClothing = true;  // automatic standard clothing for mPET
    bool pmv = true, pet = true, setStar = true, utci = true, pt = true, mpet = true;
    // the detail tables of PET and mPET ("PET/MEMI", "mPET/mPET_model")
    bool petDetail = false, mpetDetail = false;
    float albedo = 0.2f;       // of the surroundings, 0..1
    float albedoHuman = 0.3f;  // of the human being, 0..1
    float dgRatio = -1;        // ratio of diffuse and global radiation of the row; < 0 automatic
};

// The missing-value default of a fresh start ("9999" in the data-file window).
constexpr float kDefaultMissingValue = 9999.0f;

// An empty Ts, G or Tmrt field is NaN: the quantity is computed.

// Results of one row (4-byte floats, as stored).
struct CalculationResults {
    int rowCounter = 0;  // 1 for the first row of a table

    // sun
    float Z = 0;         // zenith angle, degrees
    float azimuth = 0;   // degrees clockwise from north
    float trueTime = 0;  // true local time, hours
    // day
    float sunrise = 0;  // local time, hours
    float sunset = 0;   // local time, hours
    int SDmax = 0;      // possible sunshine duration, minutes
    int SDact = 0;      // actual sunshine duration, minutes
    // horizon
    float SVF_Umb = 1;    // sky view factor, 0..1
    float SVF_cos = 1;    // sky view factor with cosine law, 0..1
    float turbidity = 0;  // Linke turbidity used

    // meteorological values of the row
    float Ta = 0;  // air temperature, °C
    float VP = 0;  // vapour pressure, hPa
    float RH = 0;  // relative humidity, %
    float v = 0;   // wind velocity, m/s
    float N = 0;   // cloud cover, octas

    // clear sky, W/m²
    float G0 = 0, S0 = 0, D0 = 0;
    // actual, W/m²: global, direct on the horizontal, diffuse, atmospheric long-wave,
    // emission of the ground, long-wave radiation of the surroundings
    float G = 0, S = 0, D = 0, A = 0, E = 0, Q = 0;
    float Ts = 0;    // ground surface temperature, °C
    float Tmrt = 0;  // mean radiant temperature, °C

    // indices
    float PMV = 0, PET = 0, SET = 0, UTCI = 0, PT = 0, mPET = 0;

    // PET details: core and mean skin temperature (°C), water loss (g/h), sweat rate, heat
    // fluxes (W): net radiation, convection, diffusion of water vapour, sweat evaporation
    float Tc = 0, Tsk = 0, WL = 0, SWt = 0, H = 0, Rnb = 0, C = 0, Evpd = 0, Esw = 0;

    // mPET details
    float mPET_Tc = 0, mPET_Tsk_m = 0;
    float mPET_Tsk1 = 0, mPET_Tsk2 = 0, mPET_Tsk3 = 0, mPET_Tsk4 = 0, mPET_Tsk5 = 0;
    float mPET_Tcl = 0, mPET_skin_wet = 0, mPET_sweating_rate = 0, mPET_Act = 0;
    float mPET_R = 0, mPET_C = 0, mPET_L = 0, mPET_Ere = 0, mPET_RC = 0 /* "mPET_R+C" */,
          mPET_S = 0;

    // daily course (output mode "Daily data"): maxima and averages W/m², sums Wh/m²
    float GmaxMax = 0, GactMax = 0, GmaxSum = 0, GactSum = 0, GmaxAvr = 0, GactAvr = 0;
};

}  // namespace umbrix
