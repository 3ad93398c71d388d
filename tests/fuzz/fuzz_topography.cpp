// Topography files: any bytes read as heights into the 41 x 41 window around the location;
// the terrain horizon of what was read is defined.
#include <unistd.h>

#include <cmath>
#include <fstream>

#include "FuzzInput.h"
#include "horizon/Terrain.h"

using namespace umbrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    TopoGrid grid;
    grid.delta = 1 + in.byte() % 200;
    grid.columns = 1 + in.byte() % 100;
    const double x0 = (in.byte() - 128) * 37.0;
    const double y0 = (in.byte() - 128) * 41.0;
    const bool withHorizon = in.byte() % 8 == 1;  // the horizon is slow; most runs test the reader
    const std::string_view text = in.rest();

    // the reader takes a path; memory-backed /dev/shm keeps the file cheap where it exists
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/umbrix_fuzz_topo_" +
        std::to_string(getpid()) + ".txt";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(text.data(), std::streamsize(text.size()));
    }
    TopoWindow window;
    const std::int64_t ci = TopoCentreIndex(x0, grid.delta);
    const std::int64_t cj = TopoCentreIndex(y0, grid.delta);
    TopoReadError error;
    std::uint64_t count = 0;
    const bool ok = ReadTopographyValues(
        path,
        [&](std::uint64_t k, float value) {
            fuzz::Check(k == count++, "values arrive in order");
            fuzz::Check(std::isfinite(value), "heights read are finite");
            PlaceTopoValue(window, grid, ci, cj, k, value);
        },
        error);
    if (!ok) fuzz::Check(!error.message().empty(), "a refused file says why");

    if (!withHorizon) return 0;
    (void)FormatTopographyWindow(window);
    const double z0 = TopoHeightAtLocation(window, grid.delta, x0, y0);
    const auto horizon = ComputeTerrainHorizon(window, grid.delta, x0, y0, z0 + 1.0);
    for (double h : horizon)
        fuzz::Check(std::isfinite(h) && h >= 0.0 && h <= 1.0, "terrain horizon in [0, 1]");
    return 0;
}
