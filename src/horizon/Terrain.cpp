#include "horizon/Terrain.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

#include "horizon/Fisheye.h"
#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/TextFile.h"
#include "solar/SunPosition.h"

namespace umbrix {

std::int64_t TopoCentreIndex(double coordinate, int delta) {
    return static_cast<std::int64_t>(std::nearbyint(coordinate / delta));
}

int TopoWindowIndex(std::int64_t index, std::int64_t centre) {
    std::int64_t w = index - centre + kTopoHalf;
    return (w >= 0 && w < kTopoWindowSize) ? static_cast<int>(w) : -1;
}

void PlaceTopoValue(TopoWindow& window, const TopoGrid& grid, std::int64_t centreI,
                    std::int64_t centreJ, std::uint64_t k, float value) {
    const auto columns = static_cast<std::uint64_t>(grid.columns);
    int c = TopoWindowIndex(static_cast<std::int64_t>(k % columns), centreI);
    int r = TopoWindowIndex(static_cast<std::int64_t>(k / columns), centreJ);
    if (c >= 0 && r >= 0) window.at(c, r) = value;
}

std::string TopoReadError::message() const {
    if (line == 0) return reason;
    std::string out = "line " + std::to_string(line);
    if (!text.empty()) out += ": \"" + text + "\"";
    return out + " " + reason;
}

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The text as a message can show it: control characters and bytes that are no readable UTF-8
// (a UTF-16 file, a stray byte-order mark) as \xNN, long texts cut.
std::string Shortened(const std::string& text) {
    constexpr std::size_t kShown = 32;
    const std::string cut = text.size() <= kShown ? text : text.substr(0, kShown);
    std::string out;
    for (std::size_t i = 0; i < cut.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(cut[i]);
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(char(c));
            continue;
        }
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(c));
        out += hex;
    }
    return text.size() <= kShown ? out : out + "...";
}

}  // namespace

bool ReadTopographyValues(const std::string& path,
                          const std::function<void(std::uint64_t, float)>& sink,
                          TopoReadError& error) {
    error = {};
    FileHandle in;
    try {
        in = OpenInputFile(path);  // a regular file: a pipe or a device never ends
    } catch (const FileError& e) {
        error.reason = e.what();
        return false;
    }
    struct stat st {};
    if (::fstat(::fileno(in.get()), &st) == 0 && std::uint64_t(st.st_size) > kTopoMaxFileBytes) {
        error.reason = "cannot open \"" + path + "\": larger than " +
                       std::to_string(kTopoMaxFileBytes >> 20) + " MB";
        return false;
    }

    std::uint64_t line = 1;
    std::uint64_t tokenLine = 1;
    std::uint64_t k = 0;
    bool lastWasCr = false;
    std::string token;
    bool tokenTooLong = false;

    auto finishToken = [&]() -> bool {
        if (token.empty()) return true;
        error.line = tokenLine;
        error.text = Shortened(token);
        if (tokenTooLong) {
            error.reason = "is too long to be a number";
            return false;
        }
        auto value = parseReal(token);
        if (!value) {
            error.reason = "is not a number";
            return false;
        }
        if (!std::isfinite(*value) || std::fabs(*value) > FLT_MAX) {
            error.reason = "is out of range";
            return false;
        }
        sink(k++, static_cast<float>(*value));
        token.clear();
        error = {};
        return true;
    };

    std::vector<char> buffer(1 << 16);
    std::uint64_t total = 0;
    for (;;) {
        std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in.get());
        if (got == 0) break;
        std::size_t n = 0;
        // the byte-order mark an editor may put first is no part of the first number
        if (total == 0 && got >= 3 && std::memcmp(buffer.data(), "\xEF\xBB\xBF", 3) == 0) n = 3;
        total += got;
        if (total > kTopoMaxFileBytes) {
            error = {};
            error.reason = "cannot read \"" + path + "\": larger than " +
                           std::to_string(kTopoMaxFileBytes >> 20) + " MB";
            return false;
        }
        for (; n < got; ++n) {
            const char ch = buffer[n];
            if (IsSeparator(ch)) {
                if (!finishToken()) return false;
                tokenTooLong = false;
                // CR LF, LF and a lone CR each end one line
                if (ch == '\n') {
                    if (!lastWasCr) ++line;
                } else if (ch == '\r') {
                    ++line;
                }
                lastWasCr = ch == '\r';
                continue;
            }
            lastWasCr = false;
            if (token.empty()) tokenLine = line;
            if (token.size() < kTopoMaxToken)
                token.push_back(ch);
            else
                tokenTooLong = true;
        }
    }
    if (std::ferror(in.get())) {
        error.reason = "cannot read \"" + path + "\": " + std::strerror(errno ? errno : EIO);
        return false;
    }
    return finishToken();
}

std::string FormatTopographyWindow(const TopoWindow& window) {
    std::string out;
    out.reserve(kTopoWindowSize * kTopoWindowSize * 8);
    for (int r = 0; r < kTopoWindowSize; ++r)
        for (int c = 0; c < kTopoWindowSize; ++c) {
            std::string number = decimals(window.at(c, r), 2);
            if (number.size() < 6) out.append(6 - number.size(), ' ');
            out += number;
            out += '\n';
        }
    return out;
}

double TopoLocalOffset(double coordinate, int delta) {
    const double grid = coordinate / delta;
    return kTopoHalf + (grid - std::nearbyint(grid));
}

double TopoInterpolate(const TopoWindow& window, double x, double y) {
    // Keep the cell inside the window: its far corner is at most column and row 40.
    x = std::clamp(x, 0.0, double(kTopoWindowSize - 1));
    y = std::clamp(y, 0.0, double(kTopoWindowSize - 1));
    int p = std::min(static_cast<int>(std::floor(x)), kTopoWindowSize - 2);
    int c = std::min(static_cast<int>(std::floor(y)), kTopoWindowSize - 2);
    const double fx = x - p;
    const double fy = y - c;
    return (1 - fy) * ((1 - fx) * window.w[c][p] + fx * window.w[c][p + 1]) +
           fy * ((1 - fx) * window.w[c + 1][p] + fx * window.w[c + 1][p + 1]);
}

double TopoHeightAtLocation(const TopoWindow& window, int delta, double x0, double y0) {
    return TopoInterpolate(window, TopoLocalOffset(x0, delta), TopoLocalOffset(y0, delta));
}

std::array<double, 361> ComputeTerrainHorizon(const TopoWindow& window, int delta, double x0,
                                              double y0, double z0) {
    constexpr double kToNormalised = 0.6366197723675814;  // 2 / pi: 1 stands for 90 degrees
    const double lx = TopoLocalOffset(x0, delta);
    const double ly = TopoLocalOffset(y0, delta);
    std::array<double, 361> H{};
    for (int A = 0; A < 360; ++A) {
        const double a = A * std::numbers::pi / 180.0;
        const double sinA = std::sin(a);
        const double cosA = std::cos(a);
        double h = 0.0;
        for (int k = 1; k <= kTopoHorizonSteps; ++k) {
            const double step = double(k) * delta / 10.0;
            const double K = std::nearbyint(sinA * step);   // east, whole metres
            const double G = std::nearbyint(-cosA * step);  // south, whole metres
            const double distance = std::sqrt(K * K + G * G);
            if (distance == 0.0) continue;  // a sample at the eye has no elevation
            const double x = lx + K / delta;
            const double y = ly + G / delta;
            const double P = std::floor(x);
            const double C = std::floor(y);
            if (!(P > 0 && P < kTopoWindowSize - 1 && C > 0 && C < kTopoWindowSize - 1)) continue;
            const double z = TopoInterpolate(window, x, y) - z0;
            h = std::max(h, std::atan(z / distance) * kToNormalised);
        }
        H[A] = h;
    }
    H[360] = H[0];
    return H;
}

int ReliefGrey(double e, double f, int delta) {
    const double cosSigma = delta / std::sqrt(e * e + f * f + double(delta) * delta);
    const double alpha = AzimuthFromVector(e, f);
    return static_cast<int>(std::trunc((0.3 * cosSigma * std::sin(alpha) + 0.7) * 255));
}

Point TerrainHorizonPoint(int B, double h) {
    return FisheyePixel(B * std::numbers::pi / 180.0, 1 - h);
}

void DrawTerrainHorizon(Picture& picture, const std::array<double, 361>& H) {
    picture.clear();
    picture.setSize(481, 481);
    picture.setPen(Pen{kTerrainGrey});
    picture.setBrush(Brush{kTerrainGrey});
    const Rect circle{0, 0, 482, 482};
    for (int A = 0; A < 360; ++A) {
        const Point rA = TerrainHorizonPoint(A, 0), rB = TerrainHorizonPoint(A + 1, 0);
        picture.polygon(
            {TerrainHorizonPoint(A, H[A]), TerrainHorizonPoint(A + 1, H[A + 1]), rB, rA});
        // The short way from R(A) to R(A + 1): arcs run counter-clockwise on the screen.
        picture.arc(circle, rB, rA);
    }
}

}  // namespace umbrix
