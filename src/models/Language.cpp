#include "models/Language.h"

namespace umbrix {

namespace {

Vocabulary makeEnglish() {
    Vocabulary v;
    v[0] = "Umbrix - human-biometeorology in urban structures";
    v[1] = "place: ";
    v[2] = "geogr. longitude: ";
    v[3] = "latitude: ";
    v[4] = "timezone: UTC ";
    v[5] = "horizon limitation: ";
    v[6] = "sky view factor (Umbrix): ";
    v[7] = "height";
    v[8] = "weight";
    v[9] = "age";
    v[10] = "sex";
    v[11] = "cloth.";
    v[12] = "activ.";
    v[13] = "date      ";
    v[14] = "day of";
    v[15] = "sunr.";
    v[16] = "sunset";
    v[17] = "SDmax";
    v[18] = "SDact";
    v[19] = "dd.mm.yyyy";
    v[20] = "year";
    v[23] = "min";
    v[24] = "min";
    v[25] = "time";
    v[26] = "Gmax";
    v[29] = "Gact";
    v[30] = "Sact";
    v[31] = "Dact";
    v[32] = "A";
    v[33] = "E";
    v[34] = "Ts";
    v[67] = "octas";
    return v;
}

Vocabulary makeGerman() {
    Vocabulary v;
    v[0] = "Umbrix - Human-Biometeorologie in urbanen Strukturen";
    v[1] = "Standort: ";
    v[2] = "Geogr. L\u00e4nge: ";
    v[3] = "Breite: ";
    v[4] = "Zeitzone: UTC ";
    v[5] = "Horizonteinschr\u00e4nkung: ";
    v[6] = "Himmelssichtfaktor (Umbrix): ";
    v[7] = "Gr\u00f6\u00dfe";
    v[8] = "Gewicht";
    v[9] = "Alter";
    v[10] = "Geschl.";
    v[11] = "Kleid.";
    v[12] = "Aktiv.";
    v[13] = "Datum     ";
    v[14] = "Tag d.";
    v[15] = "SA";
    v[16] = "SU";
    v[17] = "SDmax";
    v[18] = "SDtat";
    v[19] = "tt.mm.jjjj";
    v[20] = "Jahres";
    v[23] = "min";
    v[24] = "min";
    v[25] = "Zeit";
    v[26] = "Gmax";
    v[29] = "Gtat";
    v[30] = "Stat";
    v[31] = "Dtat";
    v[32] = "A";
    v[33] = "E";
    v[34] = "To";
    v[67] = "Achtel";
    return v;
}

// Entries 35 to 80 but 67 read the same in both languages.
void addCommon(Vocabulary& v) {
    const char* names[] = {"Ta", "VP",  "RH", "v",   "C", "Tmrt", "PMV", "Tc",  "Tsk",
                           "WL", "SWt", "H",  "Rnb", "C", "Evpd", "Esw", "PET", "SET*"};
    for (int i = 0; i < 18; ++i) v[35 + i] = names[i];
    v[53] = "h:mm";
    v[54] = "W/m\u00b2";
    for (int i = 57; i <= 61; ++i) v[i] = "W/m\u00b2";
    v[62] = "\u00b0C";
    v[63] = "\u00b0C";
    v[64] = "hPa";
    v[65] = "%";
    v[66] = "m/s";
    v[68] = "\u00b0C";
    v[69] = "";
    v[70] = "\u00b0C";
    v[71] = "\u00b0C";
    v[72] = "g/h";
    v[73] = "";
    for (int i = 74; i <= 78; ++i) v[i] = "W";
    v[79] = "\u00b0C";
    v[80] = "\u00b0C";
}

Vocabulary build(Language language) {
    Vocabulary v = language == Language::German ? makeGerman() : makeEnglish();
    addCommon(v);
    return v;
}

}  // namespace

const Vocabulary& HeaderVocabulary(Language language) {
    static const Vocabulary english = build(Language::English);
    static const Vocabulary german = build(Language::German);
    return language == Language::German ? german : english;
}

}  // namespace umbrix
