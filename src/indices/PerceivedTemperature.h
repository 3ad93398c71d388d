#pragma once
// PT, the perceived temperature: a standard person walking at 4 km/h chooses clothing between a
// summer and a winter limit so as to be comfortable; the comfort vote at that clothing, corrected
// for cold wind and for sultriness, is converted into the temperature of a reference
// environment (Klima-Michel model, comfort equation after Fanger).
//
// Jendritzky G, Menz G, Schirmer H, Schmidt-Kessen W (1990) Methodik zur raumbezogenen Bewertung
// der thermischen Komponente im Bioklima des Menschen (Fortgeschriebenes Klima-Michel-Modell).
// Beiträge der Akademie für Raumforschung und Landesplanung 114, Hannover.
// Staiger H, Laschewski G, Grätz A (2012) The perceived temperature - a versatile index for the
// assessment of the human thermal environment. Part A: scientific basics. International Journal
// of Biometeorology 56:165-176.
#include <string>

namespace umbrix {

// Value of PT when the clothing search does not converge.
constexpr double PtSearchFailed = -9999.0;

// Comfort vote of the standard person at clothing clo (clo), air temperature ta (°C), mean
// radiant temperature tmrt (°C), vapour pressure vp (hPa), wind speed v (m/s) and air pressure
// p (hPa).
double ComputeVoteAtClothing(double clo, double ta, double tmrt, double vp, double v, double p);

// PT, °C, of a vote v reached at clothing clo.
double VoteToPt(double clo, double vote);

// Working values of one PT evaluation.
struct PtDetails {
    double pt = 0;          // PT, °C, PtSearchFailed or the missing-value default
    double clo = 0;         // clothing chosen, clo
    double vote = 0;        // vote at that clothing
    double pt0 = 0;         // PT before the cold and sultriness corrections, °C
    bool searched = false;  // the clothing came from the clothing search
    bool searchFailed = false;
    int votes = 0;  // votes evaluated
};

// Correction for wind in the cold, subtracted from the vote (applied from 1.75 clo and votes of
// -0.11 or below). v is the wind speed as measured.
double PtColdCorrection(double ta, double tmrt, double v, double vote);

// Vote corrected for sultriness (applied up to 0.5 clo and above a vote of 0.06).
double PtSultryVote(double ta, double vp, double tmrt, double v, double vote);

// PT, °C. flag and label are accepted for the caller's sake and not used (the driver passes 0
// and "none"); clo, the user's clothing, is not used either: the model chooses the clothing.
// Returns PtSearchFailed when the clothing search fails, and missingValue for non-finite inputs
// or results.
double ComputePt(int flag, const std::string& label, double ta, double vp, double tmrt, double v,
                 double p, double clo, float missingValue);

PtDetails ComputePtDetails(double ta, double vp, double tmrt, double v, double p,
                           float missingValue);

}  // namespace umbrix
