// A row and a small series through the public API of umbrix::core: a hot afternoon in
// Freiburg, in an open place and in a courtyard.
#include <umbrix/umbrix.h>

#include <cstdio>
#include <vector>

int main() {
    using namespace umbrix;

    RowInputs in;
    in.site = {7.85, 48.0, 278, 1.0, "Freiburg"};  // °E, °N, m, hours east of UTC
    in.time = {DayOfYear(2026, 6, 21), 14.0};      // local standard time
    in.weather.Ta = 32;                            // °C
    in.weather.RH = 40;                            // %; VP follows
    in.weather.v = 1.0;                            // m/s at 1.1 m
    in.weather.N = 1;                              // octas; G, Ts and Tmrt are computed
    in.person.age = 70;                            // the other values: the program's defaults

    PetState pet;  // carries the PET model's state from row to row
    const RowResult open = ComputeRow(in, Settings{}, Horizon(), IndexSelection{}, pet);
    std::printf("open place: G %.0f W/m2, Tmrt %.1f C, PET %.1f C, UTCI %.1f C, SVF %.3f\n", open.G,
                open.Tmrt, open.PET, open.UTCI, open.SVF);

    // a courtyard: buildings of 12 m on three sides, 10 m from the place
    ObstacleScene court;
    court.obstacles = {
        MakeBuilding({{{-15, 10}, {15, 10}, {15, 20}, {-15, 20}}}, 12, 0.3f, 0.95f),
        MakeBuilding({{{10, -15}, {20, -15}, {20, 10}, {10, 10}}}, 12, 0.3f, 0.95f),
        MakeBuilding({{{-20, -15}, {-10, -15}, {-10, 10}, {-20, 10}}}, 12, 0.3f, 0.95f)};
    HorizonSources sources;
    sources.obstacles = &court;
    const Horizon courtyard = Horizon::FromSources(sources);

    // the afternoon hour by hour, cooling by one degree an hour
    std::vector<DayTime> times;
    std::vector<Weather> weathers;
    for (int hour = 14; hour <= 20; ++hour) {
        times.push_back({in.time.dayOfYear, double(hour)});
        Weather w = in.weather;
        w.Ta = 32 - (hour - 14);
        weathers.push_back(w);
    }
    PetState seriesPet;
    const std::vector<RowResult> rows =
        ComputeSeries(in.site, in.person, times, weathers, Settings{}, courtyard, {}, seriesPet);
    std::printf("courtyard (SVF %.3f), sunshine today %d of %d minutes\n",
                courtyard.skyViewFactor(), rows.front().SDact, rows.front().SDmax);
    std::printf("hour  Ta  Tmrt   PET  UTCI\n");
    for (std::size_t i = 0; i < rows.size(); ++i)
        std::printf("%4.0f %4.0f %5.1f %5.1f %5.1f\n", times[i].hours, rows[i].Ta, rows[i].Tmrt,
                    rows[i].PET, rows[i].UTCI);
    return 0;
}
