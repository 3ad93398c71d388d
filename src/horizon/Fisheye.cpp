#include "horizon/Fisheye.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "platform/Host.h"
#include "solar/SunPosition.h"

namespace umbrix {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180;
constexpr int kN = kFisheyeSize;
// Centre and radius of the integration: half the image width, not the centre pixel.
constexpr double kSkyCentre = kN / 2.0;  // 240.5
// |X - 240.5| takes the values 0.5, 1.5, ... 240.5 for X = 0 ... 480.
constexpr int kHalfSteps = kN / 2 + 1;

int HalfStep(int i) {
    return i <= kN / 2 ? kN / 2 - i : i - kN / 2 - 1;
}

// The weights of one quarter of the disc; by symmetry they serve every pixel, computed from
// the same (X - 240.5)² and (Y - 240.5)² as pixel by pixel, so the sums are unchanged.
struct WeightTable {
    std::array<std::array<double, kHalfSteps>, kHalfSteps> w{};     // sin θ / r
    std::array<std::array<double, kHalfSteps>, kHalfSteps> wcos{};  // w · cos θ
    // r <= 1 exactly for the half steps j <= last[i]: r grows with |Y - 240.5|
    std::array<int, kHalfSteps> last{};

    WeightTable() {
        for (int i = 0; i < kHalfSteps; ++i) {
            last[i] = -1;
            for (int j = 0; j < kHalfSteps; ++j) {
                double dx = i + 0.5, dy = j + 0.5;
                double r = std::sqrt(dx * dx + dy * dy) / kSkyCentre;
                if (r > 1) break;
                double theta = r * kPi / 2;
                double weight = r == 0 ? 1.0 : std::sin(theta) / r;
                last[i] = j;
                w[i][j] = weight;
                wcos[i][j] = weight * std::cos(theta);
            }
        }
    }
};

const WeightTable& Weights() {
    static const auto table = std::make_unique<WeightTable>();
    return *table;
}

void StartProgress(Host* host, int steps) {
    if (!host) return;
    host->setProgressMax(steps);
    host->setProgress(0);
}

void ColumnDone(Host* host) {
    if (!host) return;
    host->stepProgress();
    host->processMessages();
}

}  // namespace

Raster ComposeHorizon(std::span<const HorizonSource> sources, const Rect& dest) {
    Raster image(kN, kN);
    std::unique_ptr<Raster> scratch;
    for (const HorizonSource& source : sources) {
        if (const Raster* const* drawing = std::get_if<const Raster*>(&source)) {
            if (*drawing) image.drawRaster(dest, **drawing, true);
        } else if (const Picture* picture = std::get<const Picture*>(source)) {
            // Played onto white first and then copied transparently, so that white in a
            // vector picture frees nothing that another source obstructs.
            if (!scratch)
                scratch = std::make_unique<Raster>(kN, kN);
            else
                scratch->fill(kWhite);
            picture->playOnto(*scratch, dest);
            image.drawRaster(image.bounds(), *scratch, true);
        }
    }
    return image;
}

Raster BuildHorizonImage(std::span<const HorizonSource> sources) {
    return ComposeHorizon(sources, {0, 0, kN, kN});
}

Raster BuildSkyViewImage(std::span<const HorizonSource> sources) {
    return ComposeHorizon(sources, {0, 0, kN + 1, kN + 1});
}

Point FisheyePixel(double azimuth, double share, Point centre, double radius) {
    const double r = share * radius;
    return {centre.x + int(std::nearbyint(std::sin(azimuth) * r)),
            centre.y - int(std::nearbyint(std::cos(azimuth) * r))};
}

double ZenithShare(double Z) {
    return Z * kDeg * 2 / kPi;
}

Point FisheyePixelOf(double A, double Z, Point centre, double radius) {
    return FisheyePixel(A * kDeg, ZenithShare(Z), centre, radius);
}

bool IsSunHidden(const Raster& image, double Z, double A) {
    // also hidden for a direction that is not a number, rather than reading some pixel
    if (!(Z < 90) || !std::isfinite(A)) return true;
    const Point p = FisheyePixelOf(A, Z);
    return image.pixel(p.x, p.y) != kWhite;
}

SkyViewFactorValues IntegrateSkyViewFactors(const Raster& skyImage, Host* host) {
    const WeightTable& t = Weights();
    // Free-sky flags column by column, so the column-wise sum reads memory in order; made for
    // a block of columns at a time from whole row pieces, which keeps the image's rows and the
    // flags in the cache. The sums run in the same order as column by column.
    constexpr int kBlock = 16;
    std::array<unsigned char, std::size_t(kBlock) * kN> flags;
    const int width = skyImage.width(), height = skyImage.height();
    StartProgress(host, kN);
    double skySum = 0, obstructedSum = 0, skyCos = 0, obstructedCos = 0;
    for (int x0 = 0; x0 < kN; x0 += kBlock) {
        const int columns = std::min(kBlock, kN - x0);
        for (int y = 0; y < kN; ++y) {
            const Colour* row = y < height ? skyImage.row(y) : nullptr;
            for (int c = 0; c < columns; ++c) {
                const int x = x0 + c;
                flags[std::size_t(c) * kN + y] = !row || x >= width || row[x] == kWhite;
            }
        }
        for (int c = 0; c < columns; ++c) {
            const int i = HalfStep(x0 + c);
            const unsigned char* column = flags.data() + std::size_t(c) * kN;
            // the rows with r <= 1, in the same top-to-bottom order
            for (int y = kN / 2 - t.last[i]; y <= kN / 2 + 1 + t.last[i]; ++y) {
                const int j = HalfStep(y);
                if (column[y]) {
                    skySum += t.w[i][j];
                    skyCos += t.wcos[i][j];
                } else {
                    obstructedSum += t.w[i][j];
                    obstructedCos += t.wcos[i][j];
                }
            }
            ColumnDone(host);
        }
    }
    SkyViewFactorValues v;
    v.SVF_Umb = float(skySum / (skySum + obstructedSum));
    v.SVF_cos = float(skyCos / (skyCos + obstructedCos));
    return v;
}

SkyViewFactorValues SkyViewFactors(std::span<const HorizonSource> sources, Host* host) {
    return IntegrateSkyViewFactors(BuildSkyViewImage(sources), host);
}

void ShadeSkyImage(const Raster& skyImage, Raster& shading, double As, double Zs, Host* host) {
    // The green byte of the blank reference picture the shading is scaled by.
    constexpr double kReferenceGreen = 255;
    const int w = skyImage.width(), h = skyImage.height();
    const double cosZ = std::cos(Zs * kPi / 180), sinZ = std::sin(Zs * kPi / 180);
    StartProgress(host, w);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            double e = x - w / 2.0, n = h / 2.0 - y;
            double rho = std::sqrt(e * e + n * n) / w * 2;
            if (rho > 1 || skyImage.pixel(x, y) == kWhite) continue;
            double Ap = AzimuthFromVector(e, n, true);
            double cosTheta = std::cos(rho * kPi / 2) * cosZ +
                              std::sin(rho * kPi / 2) * std::cos((Ap - As) * kPi / 180) * sinZ;
            int v = int(std::nearbyint(std::max(kReferenceGreen * 0.5 * (-cosTheta), 0.0)));
            // v reaches 128 straight away from the sun; blue is a byte, so 2v stops at 255
            // instead of wrapping round to black
            shading.setPixel(x, y, Rgb(0, v, std::min(2 * v, 255)));
        }
        ColumnDone(host);
    }
}

void ComputeFisheyeHorizon(FisheyeHorizon& horizon, std::span<const HorizonSource> sources,
                           Host* host) {
    horizon.image = BuildHorizonImage(sources);
    SkyViewFactorValues v = SkyViewFactors(sources, host);
    horizon.SVF_Umb = v.SVF_Umb;
    horizon.SVF_cos = v.SVF_cos;
}

}  // namespace umbrix
