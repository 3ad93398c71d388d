#include "horizon/Obstacles.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/Error.h"
#include "platform/Format.h"
#include "platform/TextFile.h"

namespace umbrix {

namespace {

// The file layer treats every control character as a blank, like the space and the tab.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Splits the rest of a line at blanks.
std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

}  // namespace

void Obstacle::setCorner(int k, float x, float y, float z) {
    value(3 * k - 2) = x;
    value(3 * k - 1) = y;
    value(3 * k) = z;
}

void Obstacle::moveHandle(int handle, double dx, double dy) {
    if (isBuilding()) {
        value(3 * handle - 2) = float(value(3 * handle - 2) + dx);
        value(3 * handle - 1) = float(value(3 * handle - 1) + dy);
    } else {
        value(1) = float(value(1) + dx);
        value(2) = float(value(2) + dy);
    }
}

void Obstacle::moveAll(double dx, double dy) {
    for (int h = 1; h <= handleCount(); ++h) moveHandle(h, dx, dy);
}

void Obstacle::rotate(double angle) {
    for (int h = 1; h <= handleCount(); ++h) {
        int ix = isBuilding() ? 3 * h - 2 : 1;
        double x = value(ix), y = value(ix + 1);
        double r = std::sqrt(x * x + y * y);
        double theta = std::atan2(y, x);
        value(ix) = float(r * std::cos(theta + angle));
        value(ix + 1) = float(r * std::sin(theta + angle));
    }
}

std::string Obstacle::geometryFault() const {
    for (int i = 1; i <= valueCount(); ++i)
        if (!std::isfinite(value(i))) return "value " + std::to_string(i) + " is not finite";
    if (isTree()) {
        if (trunkLength() > height()) return "trunk length exceeds the tree height";
        if (crownRadius() < 0) return "negative crown radius";
    }
    return {};
}

Obstacle MakeBuilding(const std::array<std::array<float, 2>, 4>& footprint, float height,
                      float albedo, float emission) {
    Obstacle b;
    b.kind = ObstacleKind::Building;
    for (int k = 1; k <= 4; ++k) {
        b.setCorner(k, footprint[k - 1][0], footprint[k - 1][1], height);
        b.setCorner(k + 4, footprint[k - 1][0], footprint[k - 1][1], 0.0f);
    }
    b.setAlbedo(albedo);
    b.setEmission(emission);
    return b;
}

Obstacle MakeTree(ObstacleKind kind, float x, float y, float height, float crownRadius,
                  float trunkLength, float trunkDiameter, float albedo, float emission) {
    Obstacle t;
    t.kind = kind;
    t.values = {x, y, height, crownRadius, trunkLength, trunkDiameter, albedo, emission};
    return t;
}

ObstacleFileContent ParseObstacleFile(std::string_view text, float defaultAlbedo,
                                      float defaultEmission) {
    ObstacleFileContent out;
    auto drop = [&out](int lineNo, std::string reason) {
        if (out.droppedLines++ == 0) {
            out.firstDroppedLine = lineNo;
            out.firstDropReason = std::move(reason);
        }
    };
    std::vector<std::string> lines = SplitLines(text);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string_view line = lines[n];
        int lineNo = int(n) + 1;
        std::size_t first = 0;
        while (first < line.size() && IsBlank(line[first])) ++first;
        if (first == line.size()) continue;
        out.hasContent = true;
        char letter = line[first];
        if (letter != 'g' && letter != 'l' && letter != 'n') {
            // the header, the template line, comments
            if (letter != '#' && letter != 'k' && out.otherLines++ == 0)
                out.firstOtherLine = lineNo;
            continue;
        }

        Obstacle ob;
        ob.kind = static_cast<ObstacleKind>(letter);
        ob.value(7) = defaultAlbedo;
        ob.value(8) = defaultEmission;
        ob.value(25) = defaultAlbedo;
        ob.value(26) = defaultEmission;
        std::vector<std::string_view> tokens = Tokens(line.substr(first + 1));
        int count = 0;
        std::string fault;
        for (std::string_view token : tokens) {
            if (count == Obstacle::kMaxValues) break;  // the rest of the line is skipped
            std::optional<double> v = parseReal(token);
            if (!v) {
                fault = "cannot read \"" + std::string(token) + "\" as number " +
                        std::to_string(count + 1);
                break;
            }
            ob.value(++count) = float(*v);
        }
        if (fault.empty() && count < ob.requiredValues())
            fault = std::to_string(count) + " numbers where " +
                    std::to_string(ob.requiredValues()) + " are needed";
        if (fault.empty()) fault = ob.geometryFault();
        if (!fault.empty()) {
            drop(lineNo, std::move(fault));
            continue;
        }
        out.obstacles.push_back(ob);
    }
    return out;
}

std::string FormatObstacleLine(const Obstacle& obstacle) {
    std::string line(1, static_cast<char>(obstacle.kind));
    for (int i = 1; i <= obstacle.valueCount(); ++i) {
        line += ' ';
        line += decimals(obstacle.value(i), 2);
    }
    return line;
}

std::string FormatScaleField(double scale) {
    // sign position, one digit, point, 14 digits, "E", exponent sign, 4 exponent digits
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14E", scale);
    std::string s = buf;
    if (!std::isfinite(scale)) return s;
    std::size_t e = s.find('E');
    std::string mantissa = s.substr(0, e);
    int exponent = std::atoi(s.c_str() + e + 1);
    if (mantissa[0] != '-') mantissa.insert(mantissa.begin(), ' ');
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + exp;
}

ObstacleFileContent ReadObstacleText(std::string_view text, const std::string& path,
                                     float defaultAlbedo, float defaultEmission) {
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"))
        throw UmbrixError("cannot open \"" + path + "\": it is in UTF-16; save it as UTF-8");
    ObstacleFileContent content = ParseObstacleFile(text, defaultAlbedo, defaultEmission);
    if (content.obstacles.empty() &&
        (!content.hasContent || content.otherLines > 0 || content.droppedLines > 0)) {
        std::string why = "it is empty";
        if (content.droppedLines > 0)
            why = "no obstacle line can be read (line " + std::to_string(content.firstDroppedLine) +
                  ": " + content.firstDropReason + ")";
        else if (content.otherLines > 0)
            why = "it holds no obstacle lines (line " + std::to_string(content.firstOtherLine) +
                  " is none)";
        throw UmbrixError("cannot open \"" + path + "\" as an obstacle file: " + why);
    }
    return content;
}

std::string FormatObstacleFile(const std::vector<Obstacle>& obstacles,
                               const std::string& programCaption,
                               const std::optional<TemplateLine>& templateLine) {
    const char* eol = "\r\n";
    std::string out = "# " + programCaption + " obstacle file #" + eol;
    if (templateLine)
        out += "k " + std::to_string(templateLine->mx) + " " + std::to_string(templateLine->my) +
               " " + FormatScaleField(templateLine->scale) + " " + templateLine->mapFile + eol;
    for (const Obstacle& ob : obstacles) out += FormatObstacleLine(ob) + eol;
    return out;
}

}  // namespace umbrix
