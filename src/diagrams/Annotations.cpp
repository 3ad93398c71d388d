#include "diagrams/Annotations.h"

#include <cmath>
#include <cstdio>

#include "diagrams/SunPath.h"

namespace umbrix {

namespace {

constexpr int kMaxBarPixels = 120;
// The strip between the shadow square (ending at 441) with its "S" and the caption (at 481).
constexpr int kBarLeft = 40;
constexpr int kBarTop = 464;
constexpr int kBarHeight = 6;
constexpr int kWhenLeft = 260;

std::string MetresText(double metres) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g m", metres);
    return buffer;
}

}  // namespace

double ScaleBarMetres(double scale) {
    if (!(scale > 0) || !std::isfinite(scale)) return 0;
    const double limit = kMaxBarPixels * scale;
    double best = 0;
    for (double decade = std::pow(10.0, std::floor(std::log10(limit)) - 1); decade <= limit;
         decade *= 10)
        for (double step : {1.0, 2.0, 5.0})
            if (step * decade <= limit * (1 + 1e-9)) best = step * decade;
    return best;
}

Picture ShadowAnnotations(double scale, const std::string& when) {
    Picture p(kShadowFrameWidth, kShadowFrameHeight);
    const double metres = ScaleBarMetres(scale);
    if (metres > 0) {
        const int length = int(std::lround(metres / scale));
        const int middle = kBarLeft + length / 2;
        p.setPen({kBlack, 1, PenStyle::Solid});
        p.setBrush({kBlack, BrushStyle::Solid});
        p.rectangle({kBarLeft, kBarTop, middle, kBarTop + kBarHeight});
        p.setBrush({kWhite, BrushStyle::Solid});
        p.rectangle({middle, kBarTop, kBarLeft + length, kBarTop + kBarHeight});
        p.setFont({"Arial", 7, kBlack});
        p.text({kBarLeft + length + 6, kBarTop - 3}, MetresText(metres));
    }
    p.setFont({"Arial", 7, kBlack});
    p.text({kWhenLeft, kBarTop - 3}, when);
    return p;
}

Picture HorizonLegend(const std::vector<LegendEntry>& entries) {
    Picture p(kPolarGridWidth, kPolarGridHeight);
    constexpr int kLeft = 452, kTop = 6, kRow = 14, kSwatch = 10;
    int y = kTop;
    for (const LegendEntry& e : entries) {
        p.setPen({kBlack, 1, PenStyle::Solid});
        p.setBrush({e.colour, BrushStyle::Solid});
        p.rectangle({kLeft, y, kLeft + kSwatch, y + kSwatch});
        p.setFont({"Arial", 7, kBlack});
        p.text({kLeft + kSwatch + 5, y}, e.label);
        y += kRow;
    }
    return p;
}

}  // namespace umbrix
