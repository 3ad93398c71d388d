// The entry point of the module umbrix-maps.so.
#include "maps/MapsModule.h"

extern "C" __attribute__((visibility("default"))) const umbrix::maps::MapsModule*
umbrix_maps_module() {
    static const umbrix::maps::MapsModule table{umbrix::maps::kMapsModuleVersion,
                                                &umbrix::maps::ParseCrs, &umbrix::maps::ParseOrigin,
                                                &umbrix::maps::SaveMap};
    return &table;
}
