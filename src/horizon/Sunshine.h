#pragma once
// The actual sunshine duration of a day over a fisheye horizon image.
#include <vector>

#include "platform/Raster.h"

namespace umbrix {

// The actual sunshine duration SDact: the minutes m = 1 … 1440 of local time whose sun point on
// the fisheye horizon image lies within 242 pixels of the centre and on a white pixel. There is
// no test of the zenith angle, so minutes just below the horizon count while their point stays
// within the 242 pixels. A point outside the 481 × 481 image counts as free sky.
//
// The sun points of a day depend only on the day and the location, so they are kept for the
// next call: the rows of one day (a data file of hourly values) then read 1440 pixels each
// instead of computing 1440 sun positions. The horizon is read afresh every call.
class SunshineCounter {
  public:
    int count(int day, float longitude, float latitude, float timeZone, const Raster& horizon);
    // count() over a horizon that is sky everywhere within the limit (SkyWithinSunLimit): the
    // minutes whose sun point lies within it, most of them known from the zenith angle alone.
    int countOpenSky(int day, float longitude, float latitude, float timeZone);
    // The sun pixels within 242 pixels of the centre, one per minute counted (for tests).
    const std::vector<Point>& sunPixels(int day, float longitude, float latitude, float timeZone);

  private:
    bool sameDay(int day, float longitude, float latitude, float timeZone) const {
        return day == day_ && longitude == longitude_ && latitude == latitude_ &&
               timeZone == timeZone_;
    }
    void setDay(int day, float longitude, float latitude, float timeZone);

    bool openValid_ = false;  // openMinutes_ belongs to the day and place below
    int openMinutes_ = 0;
    bool valid_ = false;
    int day_ = 0;
    float longitude_ = 0, latitude_ = 0, timeZone_ = 0;
    std::vector<Point> pixels_;
};

// Whether every pixel of the image within the limit of 242 pixels from the centre is white:
// then only the sun point's distance decides.
bool SkyWithinSunLimit(const Raster& horizon);

}  // namespace umbrix
