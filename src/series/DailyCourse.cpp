#include "series/DailyCourse.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "calc/Application.h"
#include "calc/Geodat.h"
#include "calc/Vorgaben.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "series/DataFile.h"
#include "series/Wertedat.h"
#include "solar/UmbAux.h"
#include "solar/UmbRad.h"

namespace umbrix {

const char* const kDailyNeedsDayMessage =
    "For calulating daily data with an input file, there must be a \"date\" or \"day of year\" "
    "parameter column.";

namespace {

const char* const kDailyNeedsDayMessageGerman =
    "F\u00fcr die Berechnung von Tageswerten mit einer Eingabedatei muss es eine Spalte "
    "\"Datum\" oder \"Tag des Jahres\" geben.";

// The ratio of diffuse and global radiation for the clear-sky course: an automatic ratio is
// the one the automatic rule gives under a clear sky (G = G0), 0.2. Taken literally, the
// negative "auto" value would make the diffuse radiation negative.
float clearSkyRatio(float ratio) {
    return ratio >= 0 ? ratio : 0.2f;
}

// Maxima, sums and averages of the clear-sky and the actual global radiation over one day.
void radiationCourse(const TFormGeodat& main, const TFormVorgaben& pre, TCalcResults& r,
                     const TCalcInputs& in, float missing) {
    if (r.N == missing) {
        // without the cloud cover the actual radiation is unknown
        for (float* f : {&r.GmaxMax, &r.GactMax, &r.GmaxSum, &r.GactSum, &r.GmaxAvr, &r.GactAvr})
            *f = missing;
        return;
    }
    const int d = in.dayOfYear;
    // the Linke turbidity of the point calculation: pre-set, or from day, latitude and RH (a
    // missing RH means no fog)
    const double rh = r.RH == missing ? 0.0 : double(r.RH);
    const double fogLimit =
        r.RH == missing ? std::numeric_limits<double>::infinity() : double(pre.fogLimit);
    const float T = pre.turbidity >= 0 ? pre.turbidity
                                       : float(AutoLinkeTurbidity(d, in.latitude, rh, fogLimit));
    const float ratio = clearSkyRatio(in.dgRatio);
    const float svf = main.rowSkyViewFactor();
    const float n = r.N;
    const SunOfDay sun(d, in.latitude);
    double sumGmax = 0, sumGact = 0;
    float maxGmax = 0, maxGact = 0;
    for (int i = 1; i <= 144; ++i) {
        const float t = float(i / 6.0);  // true local time, 0:10 … 24:00
        const float Z = float(sun.zenith(t));
        const float A = float(sun.azimuth(t));
        const bool hidden = main.isSunHidden(Z, A);
        const float I = float(ClearSkyDirectNormal(d, in.altitude, Z, T));
        const float Gmax = float(ClearSkyGlobal(d, in.altitude, Z, T));
        const float Dmax = ratio * Gmax;
        const float Smax = Gmax - Dmax;
        const float Sact = hidden ? 0.0f : float(CloudyDirect(n, Smax));
        const float Dact = float(CloudyDiffuse(hidden, I, Dmax, Gmax, n, svf));
        const float Gact = Sact + Dact;
        sumGmax += Gmax;
        sumGact += Gact;
        maxGmax = std::max(maxGmax, Gmax);
        maxGact = std::max(maxGact, Gact);
    }
    r.GmaxMax = maxGmax;
    r.GactMax = maxGact;
    r.GmaxSum = float(sumGmax / 6.0);
    r.GactSum = float(sumGact / 6.0);
    r.GmaxAvr = float(sumGmax / 144.0);
    r.GactAvr = float(sumGact / 144.0);
}

}  // namespace

void CheckDailyCourseColumns(Application& app) {
    const TFormWerte& werte = app.werte();
    if (!app.geodat().dataFileActive() || werte.isColumn(DataColumn::Date) ||
        werte.isColumn(DataColumn::DayOfYear))
        return;
    throw UmbrixError(app.language() == Language::German ? kDailyNeedsDayMessageGerman
                                                         : kDailyNeedsDayMessage);
}

void ComputeDailyCourse(Application& app) {
    TFormGeodat& main = app.geodat();
    TFormWerte& werte = app.werte();
    const TFormVorgaben& pre = app.vorgaben();
    Host& host = main.host();
    TCalcInputs& in = main.inputs;
    TCalcResults& r = main.results;

    const float ta = float(toReal(main.text("EditTa"), "EditTa"));
    // the humidity typed last leads, as in a point calculation
    const bool vapour = main.vapourLeads();
    const char* const humidityField = vapour ? "EditVp" : "EditRh";
    const float humidity = float(toReal(main.text(humidityField), humidityField));
    const float v = float(toReal(main.text("EditWG"), "EditWG"));
    const float n = float(toReal(main.text("EditN"), "EditN"));
    main.checkInput("EditTa", ta);
    if (!vapour) main.checkInput("EditRh", humidity);
    main.checkInput("EditWG", v);
    main.checkInput("EditN", n);
    main.readMissingValue();
    const float m = main.missingValue;
    TableContext context = main.tableContext();

    std::unique_ptr<DataFileReader> reader;
    std::vector<DataColumn> columns;
    if (main.dataFileActive()) {
        CheckDailyCourseColumns(app);
        DataFileSettings settings = werte.dataFileSettings();
        columns = settings.columns;
        reader = std::make_unique<DataFileReader>(std::move(settings));
    }
    struct Finish {
        TFormGeodat& main;
        ~Finish() { main.finishDataRun(); }
    } finish{main};

    host.setProgressMax(365);
    const FormatSettings remembered = app.format();
    for (int day = 0;;) {
        if (reader ? reader->atEnd() : day == 365) break;
        if (host.cancelRequested()) break;
        main.startRow();
        r.Ta = ta;
        r.VP = vapour ? humidity : m;
        r.RH = vapour ? m : humidity;
        r.v = v;
        r.N = n;
        std::optional<RangeViolation> outOfRange;
        if (reader) {
            const DataRecord record = reader->next();
            main.applyDataRecord(record, columns);
            outOfRange = main.findOutOfRange(record, columns);
        } else {
            ++day;
            in.dayOfYear = day;
            in.dateText = main.DateFromDayOfYear(day);
        }
        const bool saturated = main.coupleHumidity();
        host.stepProgress();
        host.processMessages();
        main.computeSunDay();
        if (outOfRange || !saturated) {
            // a value outside its range is never computed with
            if (outOfRange) main.noteOutOfRange(*outOfRange);
            for (float* f :
                 {&r.GmaxMax, &r.GactMax, &r.GmaxSum, &r.GactSum, &r.GmaxAvr, &r.GactAvr})
                *f = m;
        } else {
            radiationCourse(main, pre, r, in, m);
        }
        app.format() = remembered;
        context.albedo = pre.albedo;
        context.bowen = pre.bowen;
        WriteTableRow(context, in, r, main.sink());
    }
    main.reportOutOfRangeRows();
}

}  // namespace umbrix
