// Obstacle files (.obs): any text reads without throwing; what is written reads back; the
// obstacles read project into the fisheye frame without hanging.
#include <cmath>

#include "FuzzInput.h"
#include "horizon/Fisheye.h"
#include "horizon/ObstacleProjection.h"
#include "horizon/Obstacles.h"

using namespace umbrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ObstacleFileContent content = ParseObstacleFile(text, 0.3f, 0.95f);
    for (const Obstacle& ob : content.obstacles)
        fuzz::Check(ob.geometryFault().empty(), "obstacles read have a defined geometry", text);

    const std::string written = FormatObstacleFile(content.obstacles, "Fuzz", TemplateLine{});
    ObstacleFileContent back = ParseObstacleFile(written, 0.3f, 0.95f);
    fuzz::Check(back.obstacles.size() == content.obstacles.size() && back.droppedLines == 0,
                "written obstacle file reads back whole", written);

    // the editor projects what it has read; a few obstacles are enough to reach every shape
    if (content.obstacles.size() > 4) content.obstacles.resize(4);
    std::vector<ProjectedShape> shapes = ProjectObstacles(content.obstacles, ProjectionSettings{});
    for (const ProjectedShape& shape : shapes)
        for (const Point& p : shape.points)
            fuzz::Check(std::isfinite(double(p.x)) && std::isfinite(double(p.y)),
                        "projected points are finite", text);
    if (content.obstacles.size() == 1) {
        Picture picture = RenderObstacleHorizon(shapes);
        const HorizonSource source = &picture;
        (void)BuildHorizonImage(std::span<const HorizonSource>(&source, 1));
    }
    return 0;
}
