#include "diagrams/SunPath.h"

#include <cmath>
#include <numbers>
#include <string>

#include "horizon/Fisheye.h"
#include "platform/DateTime.h"
#include "platform/Host.h"
#include "solar/SunPosition.h"

namespace umbrix {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180;

int Round(double v) {
    return int(std::nearbyint(v));
}

// Radii of the polar grid: the horizon, and where the shorter azimuth lines stop.
constexpr double kGridRadius = 240;
constexpr double kOuterStop = 53.333333333333336;  // 2/9 of the radius
constexpr double kInnerStop = 26.666666666666668;  // 1/9 of the radius
constexpr Point kGridCentre{280, 280};

// A point on the polar grid at angle phi (degrees) and radius rho. The grid is symmetric, so
// the angle's sense does not matter.
Point GridPoint(double phi, double rho) {
    return {kGridCentre.x + Round(std::sin(phi * kDeg) * rho),
            kGridCentre.y + Round(std::cos(phi * kDeg) * rho)};
}

void DrawPolarGrid(Picture& g, const std::string& caption) {
    g.setSize(kPolarGridWidth, kPolarGridHeight);
    const Pen solid{kBlack, 0, PenStyle::Solid};
    const Pen dotted{kBlack, 0, PenStyle::Dot};
    g.setPen(solid);
    g.setBrush({kWhite, BrushStyle::Solid});
    g.setFont({"Arial Rounded MT Bold", 8, kBlack});
    for (int k = 1; k <= 36; ++k) {
        g.setPen(dotted);
        g.moveTo(GridPoint((k + 0.5) * 10, kGridRadius));
        g.lineTo(GridPoint((k + 0.5) * 10, kOuterStop));
        g.setPen(solid);
        g.moveTo(GridPoint(k * 10, kGridRadius));
        if (k % 9 == 0)
            g.lineTo(kGridCentre);  // the four cardinal directions reach the centre
        else if (k % 9 == 3 || k % 9 == 6)
            g.lineTo(GridPoint(k * 10, kInnerStop));
        else
            g.lineTo(GridPoint(k * 10, kOuterStop));
    }
    g.setBrush({kWhite, BrushStyle::Clear});
    for (int k = 9; k >= 1; --k) {
        int d = Round(k * 240 / 9.0);
        g.ellipse({280 - d, 280 - d, d + 281, d + 281});
    }
    for (int k = 1; k <= 8; ++k)
        g.text({282, Round((1 - k / 9.0) * 240 + 28)}, std::to_string(90 - 10 * k));
    g.setFont({"Arial Rounded MT Bold", 10, kBlack});
    g.text({274, 20}, "N");
    g.text({20, 270}, "W");
    g.text({275, 524}, "S");
    g.text({524, 270}, "E");
    g.setFont({"Arial", 7, kBlack});
    g.text({40, 540}, caption);
}

void DrawShadowFrame(Picture& g, const std::string& caption) {
    constexpr Colour kLightGrey = Rgb(192, 192, 192);
    g.setSize(kShadowFrameWidth, kShadowFrameHeight);
    g.setPen({kBlack, 0, PenStyle::Solid});
    g.setBrush({kWhite, BrushStyle::Clear});
    g.rectangle({40, 40, 441, 441});
    g.setPen({kLightGrey, 0, PenStyle::Solid});
    for (int k = 0; k <= 7; ++k) {
        int c = 40 + Round((802 * k + 401) / 16.0);
        g.moveTo({41, c});
        g.lineTo({440, c});
        g.moveTo({c, 41});
        g.lineTo({c, 440});
    }
    g.setPen({kBlack, 0, PenStyle::Solid});
    for (int k = 1; k <= 7; ++k) {
        int c = 40 + Round(401 * k / 8.0);
        g.moveTo({40, c});
        g.lineTo({441, c});
        g.moveTo({c, 40});
        g.lineTo({c, 441});
    }
    g.setFont({"Arial", 7, kBlack});
    g.text({40, 481}, caption);
    g.setFont({"Arial", 10, kBlack});
    g.text({234, 18}, "N");
    g.text({17, 230}, "W");
    g.text({235, 444}, "S");
    g.text({448, 230}, "E");
    g.setPen({kPathRed, 0, PenStyle::Solid});
    g.setBrush({kPathRed, BrushStyle::Solid});
    g.ellipse({237, 237, 244, 244});  // the location of calculation
}

struct SunAt {
    float Z = 0;  // degrees
    float A = 0;  // degrees
};

SunAt SunAtTrueTime(int day, float latitude, float trueTime) {
    return {float(SunZenith(day, latitude, trueTime)), float(SunAzimuth(day, latitude, trueTime))};
}

// The minute m of the day as hours, as a 4-byte float argument.
float MinuteHours(int m) {
    return float(m / 60.0);
}

}  // namespace

Point PolarPoint(double Z, double A, Point centre, double R) {
    return FisheyePixelOf(A, Z, centre, R);
}

void DrawDiagramGrid(Picture& grid, bool shadowFrame, const std::string& caption) {
    grid.clear();
    if (shadowFrame)
        DrawShadowFrame(grid, caption);
    else
        DrawPolarGrid(grid, caption);
}

void DrawSunPath(Picture& path, int day, int year, bool labels, float longitude, float latitude,
                 float timeZone, Host* host) {
    constexpr Point centre{kPathCentre, kPathCentre};
    constexpr double R = kPathRadius;
    constexpr long kHorizonSquared = long(kPathRadius) * kPathRadius;  // 5,760,000
    auto outside = [&](Point p) {
        long dx = p.x - centre.x, dy = p.y - centre.y;
        return dx * dx + dy * dy > kHorizonSquared;
    };

    path.setSize(kPathSize, kPathSize);
    path.setPen({kPathRed, 15, PenStyle::Solid});
    path.setFont({"Arial", 70, kPathRed});

    // The date at the sunrise end of the path in the first half of the year, at the sunset end
    // in the second, so that the labels of paths added for other days do not overlap.
    const float labelTime =
        float(day <= 181 ? SunriseTrue(day, true, latitude) : SunsetTrue(day, true, latitude));
    const SunAt labelSun = SunAtTrueTime(day, latitude, labelTime);
    const Point labelPoint = PolarPoint(labelSun.Z, labelSun.A, centre, R);
    const double la = labelSun.A * kDeg;
    // Formatted on its own: the program's short date format stays as it is.
    const std::string dateText = FormatDate("d.m.", '.', DateOfDayOfYear(year, day));
    path.text({Round(std::sin(la) * 160 + (labelPoint.x - 150)),
               Round((labelPoint.y - 80) - std::cos(la) * 160)},
              dateText);

    const SunAt start = SunAtTrueTime(day, latitude, 0.0f);
    Point previous = PolarPoint(start.Z, start.A, centre, R);
    path.moveTo(previous);
    const Pen thin{kPathRed, 1, PenStyle::Solid};
    for (int m = 1; m <= 1440; ++m) {
        const float T = MinuteHours(m);
        const SunAt sun = SunAtTrueTime(day, latitude, T);
        const Point p = PolarPoint(sun.Z, sun.A, centre, R);
        if (outside(previous) || sun.Z > 90)
            path.moveTo(p);
        else
            path.lineTo(p);
        previous = p;
        if (m == 1) path.setPen(thin);  // only the first minute is drawn wide

        const float t = float(LocalFromTrueTime(day, longitude, timeZone, T));
        if (t - std::floor(t) < 1.0 / 60 && sun.Z <= 90) {
            path.setPen({kHourRed, 1, PenStyle::Solid});
            path.setFont({"Arial", 70, kHourRed});
            path.setBrush({kWhite, BrushStyle::Clear});
            path.ellipse({p.x - 30, p.y - 30, p.x + 30, p.y + 30});
            if (labels) {
                const double a = sun.A * kDeg;
                path.text(
                    {Round(std::sin(a) * 160 + (p.x - 80)), Round((p.y - 80) - std::cos(a) * 150)},
                    std::to_string(int(t)));
            }
            path.setPen(thin);
            path.moveTo(p);
        }
        if (host) {
            host->stepProgress();
            host->processMessages();
        }
    }
}

void DrawSunPosition(Picture& overlay, const Picture& path, int day, float longitude,
                     float latitude, float timeZone, double t) {
    const float T = float(TrueLocalTime(day, longitude, timeZone, float(t)));
    const SunAt sun = SunAtTrueTime(day, latitude, T);
    overlay.clear();
    overlay.setSize(kOverlaySize, kOverlaySize);
    overlay.setPen({kSunOrange, 1, PenStyle::Solid});
    overlay.setFont({"Arial", 8, kSunOrange});
    overlay.setBrush({kSunOrange, BrushStyle::Solid});
    overlay.drawPicture({0, 0, 482, 482}, path);
    if (sun.Z < 90) {
        const Point p = PolarPoint(sun.Z, sun.A, {240, 240}, 240);
        overlay.ellipse({p.x - 3, p.y - 3, p.x + 3, p.y + 3});
    }
}

}  // namespace umbrix
