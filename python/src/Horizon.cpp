// The horizon: the fisheye image from a picture, a profile or obstacles, and its sky view
// factors; the obstacles and their file.
#include "umbrix/horizon.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Common.h"
#include "engine/HorizonData.h"
#include "horizon/Obstacles.h"
#include "platform/TextFile.h"
#include "umbrix/obstacle.h"

namespace umbrix::python {

namespace {

using Bytes = py::array_t<std::uint8_t, py::array::c_style | py::array::forcecast>;

// The obstacle editor's albedo and emission coefficient of a new obstacle.
constexpr float kDefaultAlbedo = 0.3f;
constexpr float kDefaultEmission = 0.95f;

// A picture in the fisheye frame from a mask (height x width, nonzero: free sky) or from RGB
// bytes (height x width x 3 or 4; only pure white is free sky).
HorizonImage ImageOf(const Bytes& a) {
    const bool mask = a.ndim() == 2;
    if (!(mask || (a.ndim() == 3 && (a.shape(2) == 3 || a.shape(2) == 4))) ||
        a.shape(0) != kFisheyeSize || a.shape(1) != kFisheyeSize) {
        std::string shape;
        for (py::ssize_t k = 0; k < a.ndim(); ++k)
            shape += (k ? " x " : "") + std::to_string(a.shape(k));
        throw py::value_error(
            "a horizon image is 481 x 481 (bool: True where the sky is free) or "
            "481 x 481 x 3 (RGB), not " +
            shape);
    }
    HorizonImage image;
    image.width = image.height = kFisheyeSize;
    image.pixels.resize(std::size_t(kFisheyeSize) * kFisheyeSize);
    const std::uint8_t* p = a.data();
    const std::size_t channels = mask ? 1 : std::size_t(a.shape(2));
    for (std::size_t i = 0; i < image.pixels.size(); ++i, p += channels)
        image.pixels[i] =
            mask ? (*p ? 0xFFFFFFu : 0u) : (p[0] | p[1] << 8 | std::uint32_t(p[2]) << 16);
    return image;
}

// The composed image as height x width x 3 RGB bytes; None for a horizon of a profile.
py::object ImageArray(const Horizon& horizon) {
    const HorizonImage image = horizon.image();
    if (image.pixels.empty()) return py::none();
    py::array_t<std::uint8_t> out(
        {py::ssize_t(image.height), py::ssize_t(image.width), py::ssize_t(3)});
    std::uint8_t* p = out.mutable_data();
    for (std::uint32_t c : image.pixels) {
        *p++ = c & 0xFF;
        *p++ = (c >> 8) & 0xFF;
        *p++ = (c >> 16) & 0xFF;
    }
    return out;
}

ObstacleKind KindOf(const std::string& kind) {
    if (kind == "building") return ObstacleKind::Building;
    if (kind == "deciduous") return ObstacleKind::Deciduous;
    if (kind == "conifer") return ObstacleKind::Conifer;
    throw py::value_error("an obstacle is a \"building\", \"deciduous\" or \"conifer\", not \"" +
                          kind + "\"");
}

const char* KindName(ObstacleKind kind) {
    switch (kind) {
        case ObstacleKind::Building:
            return "building";
        case ObstacleKind::Deciduous:
            return "deciduous";
        case ObstacleKind::Conifer:
            return "conifer";
    }
    return "";
}

Obstacle Checked(Obstacle obstacle) {
    if (const std::string fault = obstacle.geometryFault(); !fault.empty())
        throw py::value_error("obstacle: " + fault);
    return obstacle;
}

// A horizon as plain values, for pickle (Dask sends horizons to its workers): the composed
// image, the profile and the sky view factors as the horizon holds them, so that the copy gives
// the same bits.
py::tuple HorizonState(const Horizon& h) {
    const Horizon::Data& d = h.data();
    py::object profile = py::none();
    if (d.profile) profile = py::make_tuple(d.profile->increment, d.profile->angles);
    const HorizonImage image = h.image();
    py::bytes pixels(reinterpret_cast<const char*>(image.pixels.data()),
                     image.pixels.size() * sizeof(std::uint32_t));
    return py::make_tuple(image.width, image.height, pixels, profile, d.svf, d.svfCos);
}

Horizon HorizonFromState(const py::tuple& state) {
    if (state.size() != 6) throw py::value_error("not the state of a umbrix.Horizon");
    auto data = std::make_shared<Horizon::Data>();
    const int width = state[0].cast<int>(), height = state[1].cast<int>();
    const std::string pixels = state[2].cast<std::string>();
    if (width < 0 || height < 0 ||
        pixels.size() != std::size_t(width) * std::size_t(height) * sizeof(std::uint32_t))
        throw py::value_error("not the state of a umbrix.Horizon");
    if (width > 0 && height > 0) {
        data->image.reset(width, height);
        for (int y = 0; y < height; ++y)
            std::memcpy(data->image.row(y), pixels.data() + std::size_t(y) * width * 4,
                        std::size_t(width) * 4);
    }
    if (!state[3].is_none()) {
        const auto profile = state[3].cast<std::pair<int, std::vector<float>>>();
        data->profile = HorizonProfile{profile.first, profile.second};
    }
    data->svf = state[4].cast<float>();
    data->svfCos = state[5].cast<float>();
    return Horizon(std::move(data));
}

}  // namespace

void RegisterHorizon(py::module_& m) {
    using py::arg;
    py::class_<Horizon>(m, "Horizon", R"(The horizon seen from the location of calculation.

The fisheye image of the upper hemisphere: 481 x 481 pixels, centre pixel (240, 240),
horizon circle of radius 240, north up and east right, equidistant in zenith angle; only pure
white is free sky. A Horizon gives the sun test and the two sky view factors, and np.asarray()
of it is the image as 481 x 481 x 3 RGB bytes. Horizon() is free sky; see also
Horizon.from_image, Horizon.from_profile and umbrix.horizon_from_obstacles.)")
        .def(py::init<>())
        .def_static(
            "from_image",
            [](const Bytes& image) {
                const HorizonImage picture = ImageOf(image);
                py::gil_scoped_release release;
                HorizonSources sources;
                sources.drawing = &picture;
                return Horizon::FromSources(sources);
            },
            arg("image"),
            R"(The horizon of a fisheye picture, as a horizon drawing is taken.

image: 481 x 481 bool (True where the sky is free), or 481 x 481 x 3 (or 4) RGB bytes where
only pure white (255, 255, 255) is free sky.)")
        .def_static(
            "from_profile",
            [](std::vector<float> angles, int increment) {
                if (increment <= 0 || 360 % increment != 0 ||
                    angles.size() != std::size_t(360 / increment))
                    throw py::value_error("a horizon profile has one angle per sector of " +
                                          std::to_string(increment) + "°: " +
                                          std::to_string(increment > 0 ? 360 / increment : 0) +
                                          " angles, not " + std::to_string(angles.size()));
                for (float h : angles)
                    if (!(h >= 0 && h <= 90))
                        throw py::value_error(
                            "a horizon elevation angle lies within 0 … 90°, not " +
                            std::to_string(h));
                return Horizon::FromProfile({increment, std::move(angles)});
            },
            arg("angles"), arg("increment") = 30,
            R"(The horizon of elevation angles (degrees, 0 ... 90), one per azimuth sector of
`increment` degrees from north clockwise: sector k covers (k - 1) increment ... k increment.)")
        .def_property_readonly("svf", &Horizon::skyViewFactor,
                               "Sky view factor: the free share of the hemisphere's solid angle.")
        .def_property_readonly(
            "svf_cos", &Horizon::skyViewFactorCos,
            "Sky view factor of a horizontal surface: the free share of the cosine-weighted "
            "hemisphere.")
        .def_property_readonly("image", &ImageArray,
                               "The fisheye image, 481 x 481 x 3 RGB bytes (None for a profile).")
        .def(
            "__array__",
            [](const Horizon& h, py::object dtype) {
                py::object image = ImageArray(h);
                if (image.is_none()) throw py::value_error("a horizon of a profile has no image");
                return dtype.is_none() ? image : image.attr("astype")(dtype);
            },
            arg("dtype") = py::none())
        .def(
            "is_sun_hidden",
            [](const Horizon& h, double Z, double azimuth) { return h.isSunHidden(Z, azimuth); },
            arg("Z"), arg("azimuth"),
            "True when the sun at zenith angle Z and azimuth (degrees, clockwise from north) is "
            "below the horizon or behind an obstruction.")
        .def(py::pickle(&HorizonState, &HorizonFromState))
        .def("__repr__", [](const Horizon& h) {
            return "<umbrix.Horizon svf=" + std::to_string(h.skyViewFactor()) +
                   " svf_cos=" + std::to_string(h.skyViewFactorCos()) + ">";
        });

    py::class_<Obstacle>(
        m, "Obstacle",
        R"(A building, deciduous or coniferous tree around the location of calculation.

Coordinates in metres, x east, y north, z up, from the location of calculation. Made by
umbrix.building and umbrix.tree, or read from an obstacle file; str() is its line in an
obstacle file.)")
        .def_property_readonly("kind", [](const Obstacle& o) { return KindName(o.kind); })
        .def_property_readonly("values",
                               [](const Obstacle& o) {
                                   return std::vector<float>(o.values.begin(),
                                                             o.values.begin() + o.valueCount());
                               })
        .def("__str__", &FormatObstacleLine)
        .def("__repr__",
             [](const Obstacle& o) { return "<umbrix.Obstacle " + FormatObstacleLine(o) + ">"; });

    m.def(
        "building",
        [](const std::array<std::array<float, 2>, 4>& footprint, float height, float albedo,
           float emission) { return Checked(MakeBuilding(footprint, height, albedo, emission)); },
        arg("footprint"), arg("height"), arg("albedo") = kDefaultAlbedo,
        arg("emission") = kDefaultEmission,
        R"(A building standing on the ground.

footprint: its four corners (x, y), m, in order round the building; height: m;
albedo and emission coefficient of its walls, 0 ... 1.)");

    m.def(
        "tree",
        [](float x, float y, float height, float crownRadius, float trunkLength,
           float trunkDiameter, const std::string& kind, float albedo, float emission) {
            const ObstacleKind k = KindOf(kind);
            if (k == ObstacleKind::Building)
                throw py::value_error("a tree is \"deciduous\" or \"conifer\"");
            return Checked(MakeTree(k, x, y, height, crownRadius, trunkLength, trunkDiameter,
                                    albedo, emission));
        },
        arg("x"), arg("y"), arg("height"), arg("crown_radius"), arg("trunk_length"),
        arg("trunk_diameter") = 0.3f, arg("kind") = "deciduous", arg("albedo") = kDefaultAlbedo,
        arg("emission") = kDefaultEmission,
        R"(A tree: its trunk at (x, y), m; height, crown radius and trunk length (the height of
the crown's bottom) and trunk diameter, m; kind "deciduous" or "conifer".)");

    m.def(
        "_read_obstacle_file",
        [](const std::string& path) {
            const ObstacleFileContent content = ReadObstacleText(
                ReadTextFile(path, std::size_t(64) << 20), path, kDefaultAlbedo, kDefaultEmission);
            return py::make_tuple(content.obstacles, content.droppedLines, content.firstDroppedLine,
                                  content.firstDropReason);
        },
        arg("path"));

    m.def(
        "_parse_obstacle_line",
        [](const std::string& line) {
            const ObstacleFileContent content =
                ParseObstacleFile(line, kDefaultAlbedo, kDefaultEmission);
            if (content.obstacles.size() != 1)
                throw py::value_error(content.droppedLines > 0 ? content.firstDropReason
                                                               : "no obstacle line");
            return content.obstacles.front();
        },
        arg("line"));

    m.def(
        "_horizon_from_obstacles",
        [](std::vector<Obstacle> obstacles, double x, double y, double eyeHeight, bool buildings,
           bool deciduous, bool conifers) {
            py::gil_scoped_release release;
            // the location of calculation at (x, y) of the plan, as the editor moves it there
            for (Obstacle& o : obstacles) o.moveAll(-x, -y);
            ObstacleScene scene{std::move(obstacles), eyeHeight, buildings, deciduous, conifers};
            HorizonSources sources;
            sources.obstacles = &scene;
            return Horizon::FromSources(sources);
        },
        arg("obstacles"), arg("x"), arg("y"), arg("eye_height"), arg("buildings"), arg("deciduous"),
        arg("conifers"));
}

}  // namespace umbrix::python
