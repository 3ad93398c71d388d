#include "models/DailyCourseRun.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "models/Application.h"
#include "models/DataFileWindowModel.h"
#include "models/MainWindowModel.h"
#include "models/PresettingsModel.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "series/DataFile.h"
#include "umbrix/engine.h"

namespace umbrix {

const char* const kDailyNeedsDayMessage =
    "For calulating daily data with an input file, there must be a \"date\" or \"day of year\" "
    "parameter column.";

namespace {

const char* const kDailyNeedsDayMessageGerman =
    "F\u00fcr die Berechnung von Tageswerten mit einer Eingabedatei muss es eine Spalte "
    "\"Datum\" oder \"Tag des Jahres\" geben.";

}  // namespace

void CheckDailyCourseColumns(Application& app) {
    const DataFileWindowModel& dataFileWindow = app.dataFileWindow();
    if (!app.mainWindow().dataFileActive() || dataFileWindow.isColumn(DataColumn::Date) ||
        dataFileWindow.isColumn(DataColumn::DayOfYear))
        return;
    throw UmbrixError(app.language() == Language::German ? kDailyNeedsDayMessageGerman
                                                         : kDailyNeedsDayMessage);
}

void ComputeDailyCourse(Application& app) {
    MainWindowModel& main = app.mainWindow();
    DataFileWindowModel& dataFileWindow = app.dataFileWindow();
    const PresettingsModel& pre = app.presettings();
    Host& host = main.host();
    CalculationInputs& in = main.inputs;
    CalculationResults& r = main.results;

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
        DataFileSettings settings = dataFileWindow.dataFileSettings();
        columns = settings.columns;
        reader = std::make_unique<DataFileReader>(std::move(settings));
    }
    struct Finish {
        MainWindowModel& main;
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
            in.dateText = main.dateFromDayOfYear(day);
        }
        const bool saturated = main.coupleHumidity();
        host.stepProgress();
        host.processMessages();
        if (outOfRange || !saturated) {
            main.computeSunDay();
            // a value outside its range is never computed with
            if (outOfRange) main.noteOutOfRange(*outOfRange);
            for (float* f :
                 {&r.GmaxMax, &r.GactMax, &r.GmaxSum, &r.GactSum, &r.GmaxAvr, &r.GactAvr})
                *f = NAN;
        } else {
            // the course needs the air only: G went into the row's D/G ratio already
            Weather weather = main.rowWeather();
            weather.G = weather.Ts = weather.Tmrt = NAN;
            const DailyCourse c =
                ComputeDailyCourse(main.rowSite(), in.dayOfYear, weather, main.rowSettings(),
                                   main.rowHorizon(), &main.sunshineCache());
            r.sunrise = c.day.sunrise;
            r.sunset = c.day.sunset;
            r.SDact = c.day.SDact;
            r.GmaxMax = c.GmaxMax;
            r.GactMax = c.GactMax;
            r.GmaxSum = c.GmaxSum;
            r.GactSum = c.GactSum;
            r.GmaxAvr = c.GmaxAvr;
            r.GactAvr = c.GactAvr;
        }
        app.format() = remembered;
        context.albedo = pre.albedo;
        context.bowen = pre.bowen;
        WriteTableRow(context, in, r, main.sink());
    }
    main.reportOutOfRangeRows();
}

}  // namespace umbrix
