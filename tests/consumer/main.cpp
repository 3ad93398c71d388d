// Every public header, and one row and one batch, against the installed library.
#include <umbrix/umbrix.h>

#include <cmath>
#include <cstdio>
#include <vector>

int main() {
    using namespace umbrix;
    RowInputs in;
    in.site = {7.85, 48.0, 278, 1.0, "Freiburg"};
    in.time = {DayOfYear(2026, 6, 21), 12.0};
    PetState pet;
    const RowResult r = ComputeRow(in, {}, Horizon(), {}, pet);
    const std::vector<double> ta = {20, 25, 30}, vp = {12}, v = {1}, tmrt = {30, 40, 50};
    std::vector<double> utci(3);
    batch::Utci({ta, vp, v, tmrt}, utci);
    Weather w;
    w.Ta = 25;
    w.VP = 12;
    w.v = 1;
    w.Tmrt = 40;
    if (std::isnan(r.Tmrt) || std::isnan(r.PET) || utci[1] != Utci(w)) {
        std::puts("consumer: unexpected results");
        return 1;
    }
    std::printf("Tmrt %.1f, PET %.1f, UTCI %.1f %.1f %.1f\n", r.Tmrt, r.PET, utci[0], utci[1],
                utci[2]);
    return 0;
}
