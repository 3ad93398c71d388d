#include "cli/Options.h"

#include <cstdio>

#include "platform/DateTime.h"
#include "platform/Error.h"
#include "platform/FormModel.h"
#include "series/TableFormats.h"

namespace umbrix::cli {

namespace {

struct OptionInfo {
    const char* name;
    const char* argument;  // nullptr: no argument
    const char* help;
};

const OptionInfo kOptions[] = {
    {"--set", "NAME=TEXT",
     "type TEXT into control NAME and leave it (check items take 1 or 0, combo boxes an item)"},
    {"--mode", "table|polar|daily|shadows|map",
     "output mode; map: a thermal comfort map over the obstacle plan (default: table)"},
    {"--lang", "en|de", "language of captions and table vocabulary (default: en)"},
    {"--now", "\"d.m.yyyy h:mm\"", "the system clock as the program sees it (default: the clock)"},
    {"--locations", "FILE", "locations list (default: locations.lst beside the program)"},
    {"--location", "NAME", "choose a stored location (default: the first in sorted order)"},
    {"--session", "FILE", "restore a session file, as File > Open does (default: none)"},
    {"--obstacles", "FILE.obs",
     "open an obstacle file in the obstacle editor and close it: the obstacles become a "
     "horizon source (default: none)"},
    {"--horizon", "FILE.bmp",
     "open a 481 x 481 bitmap in the horizon limitation editor: the drawing becomes a "
     "horizon source and \"Sky view factor\" is checked (default: none; vector pictures "
     "need the desktop program)"},
    {"--topography", "FILE",
     "open a topography file in the topography editor and \"&Close\" it: the terrain horizon "
     "becomes a horizon source (grid and location first with --set EditRast=50 EditAnzSp=41 "
     "EditX0=1000 EditY0=1000 EditZ0=0; default: none)"},
    {"--datafile", "FILE", "choose a data file and check \"Datafile\" (default: none)"},
    {"--epw", "FILE",
     "choose an EPW weather file as the data file (its columns date time Ta RH v N D G, wind "
     "taken from 10 m down to 1.1 m, sky cover from tenths to octas) and check \"Datafile\"; "
     "the location of its header replaces the main window's, and each record stands at the "
     "middle of its hour (--set ComboEpwTime=\"end of hour\" for the end; default: none)"},
    {"--columns", "LIST",
     "the checked data-file columns in file order, comma-separated, by item text or short name:\n"
     "                                  tag date doy time lon lat alt tz Ta VP RH v N Ts LTF\n"
     "                                  albedo bowen DG D G Tmrt clo act horizon; or \"auto\": "
     "the\n"
     "                                  labels of the file's first line, which is then skipped\n"
     "                                  (a .csv file reads with \",\" and a decimal point; "
     "default:\n"
     "                                  none)"},
    {"--output", "FILE",
     "check \"Output in file\" and write the data table to FILE, row by row; an earlier FILE "
     "is replaced only once the table has its first row; the daily data still go to standard "
     "output (default: off)"},
    {"--format", "table|tsv|csv",
     "the data table's format: the program's own table, or tab- or comma-separated values "
     "with one header line of names and [units], the run's metadata as # lines and missing "
     "values as empty fields (default: table)"},
    {"--summary", "FILE",
     "sum up the data-table runs from the next --new on into FILE: hours per stress class per "
     "month and in all, min/mean/max of Ta, Tmrt and each index, missing rows (FILE.csv: one "
     "long comma-separated table; default: none)"},
    {"--plot", "KIND=FILE",
     "draw a chart of the last data-table or daily-data run into FILE.svg or FILE.png "
     "(repeatable); KIND: heatmap:COLUMN (day by hour), series:COLUMN[,COLUMN...] (up to "
     "four), classes:UTCI|PET|PMV|PT (hours per stress class per month), daily (SDmax, SDact, "
     "GmaxSum, GactSum of --mode daily); titles in the --lang language (default: none)"},
    {"--plot-size", "WxH", "the size of every --plot chart in pixels (default: 1200x700)"},
    {"--new", nullptr, "run \"&New\": start a new table"},
    {"--add", nullptr, "run \"A&dd\": append rows under the header of the last --new"},
    {"--time", "H:MM",
     "move the diagram window's time control (diagram modes; default: the time of --new); "
     "with --mode map the map's time (default: EditZeit)"},
    {"--map-cell", "METRES", "map: the edge of a cell (default: 1)"},
    {"--map-extent", "X0,Y0,X1,Y1",
     "map: the area in plan metres, x east and y north of the location of calculation "
     "(default: the frame around the obstacles)"},
    {"--map-quantity", "LIST",
     "map: comma-separated, of one time: SVF SVFcos sun SDact G S D A E Q Ts Tmrt PMV PET SET "
     "UTCI PT mPET; over a range or data file: NAME_mean NAME_max NAME_min, sun_hours, "
     "UTCI_hours[:T] PET_hours[:T] (hours per stress class from T upwards) "
     "(default: Tmrt,PET,UTCI)"},
    {"--map-range", "H:MM-H:MM",
     "map: the times from the first to the second in 10-minute steps at the weather of the "
     "main window (0:00-24:00 a day; default: one time, or the rows of a checked data file)"},
    {"--map-crs", "EPSG:n",
     "map: a projected coordinate system in metres for the GeoTIFF (with --map-origin; "
     "default: the plan's own metric frame)"},
    {"--map-origin", "E,N", "map: the location of calculation's easting and northing in it"},
    {"--save", "FILE",
     "save the text view (the table) to FILE; in the diagram modes the diagram as FILE.svg, "
     "FILE.png or FILE.bmp; in the map mode the map as FILE.tif (GeoTIFF, every quantity), "
     "FILE.asc (ESRI ASCII grid, one quantity), FILE.svg or FILE.png (picture, one quantity) "
     "(default: the table to standard output)"},
    {"--fisheye", "FILE.bmp", "write the composed fisheye horizon image of the last run"},
    {"--quiet", nullptr,
     "no progress line (a data-file or daily run shows one on standard error when that is a "
     "terminal)"},
    {"--help", nullptr, "show this text"},
};

const OptionInfo* findOption(const std::string& name) {
    for (const auto& o : kOptions)
        if (name == o.name) return &o;
    return nullptr;
}

std::string nearestOption(const std::string& name) {
    std::vector<std::string> names;
    for (const auto& o : kOptions) names.push_back(o.name);
    return NearestName(name, names);
}

}  // namespace

ClockTime ParseClock(const std::string& text) {
    FormatSettings fs;
    auto space = text.find(' ');
    std::string datePart = text.substr(0, space);
    std::string timePart = space == std::string::npos ? "0:00" : text.substr(space + 1);
    auto date = ParseDate(fs, datePart, 2000);
    auto time = ParseTime(fs, timePart);
    if (!date || !time || datePart.find('.') == datePart.rfind('.'))
        throw UmbrixError("--now: cannot read \"" + text + "\" as \"d.m.yyyy h:mm\"");
    long seconds = long(*time * 86400.0 + 0.5);
    ClockTime c;
    c.year = date->year;
    c.month = date->month;
    c.day = date->day;
    c.hour = int(seconds / 3600);
    c.minute = int(seconds / 60 % 60);
    c.second = int(seconds % 60);
    return c;
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        if (auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        const OptionInfo* info = findOption(name);
        if (!info)
            throw UmbrixError("unknown option \"" + name + "\" (did you mean " +
                              nearestOption(name) + "?)");
        if (info->argument && !inlineValue) {
            if (i + 1 >= args.size())
                throw UmbrixError(name + " needs an argument: " + info->argument);
            value = args[++i];
        }
        if (!info->argument && inlineValue) throw UmbrixError(name + " takes no argument");
        if (name == "--help") {
            o.help = true;
        } else if (name == "--quiet") {
            o.quiet = true;
        } else if (name == "--now") {
            o.now = ParseClock(value);
        } else if (name == "--locations") {
            o.locationsFile = value;
        } else {
            if (name == "--set" && value.find('=') == std::string::npos)
                throw UmbrixError("--set needs NAME=TEXT, not \"" + value + "\"");
            if (name == "--mode" && value != "table" && value != "polar" && value != "daily" &&
                value != "shadows" && value != "map")
                throw UmbrixError("--mode takes table, polar, daily, shadows or map, not \"" +
                                  value + "\"");
            if (name == "--format" && !TableFormatByName(value))
                throw UmbrixError("--format takes table, tsv or csv, not \"" + value + "\"");
            if (name == "--lang" && value != "en" && value != "de")
                throw UmbrixError("--lang takes en or de, not \"" + value + "\"");
            o.steps.push_back({name, value});
        }
    }
    return o;
}

std::string Usage() {
    std::string out =
        "usage: umbrix [options]\n"
        "Computes the radiation reaching a standing person, Tmrt and thermal indices for a\n"
        "location, date and time, as the main window does. Options are applied in the order\n"
        "given; --now and --locations describe the start-up and apply first. Without --new or\n"
        "--add one --new runs at the end; without --output or --save the table goes to\n"
        "standard output.\n\noptions:\n";
    for (const auto& o : kOptions) {
        std::string head =
            std::string("  ") + o.name + (o.argument ? std::string(" ") + o.argument : "");
        if (head.size() < 34)
            head.resize(34, ' ');
        else
            head += "\n" + std::string(34, ' ');
        out += head + o.help + "\n";
    }
    out +=
        "\nexamples:\n"
        "  umbrix --now \"21.6.2026 9:00\" --set EditDat=21.6.2026 --set EditZeit=12:00\n"
        "  umbrix --location Freiburg --set EditTa=25 --new --set EditZeit=15:00 --add\n"
        "  umbrix --lang de --output table.txt\n"
        "  umbrix --mode polar --set EditDat=21.6.2026 --set EditZeit=15:00 --save sun.svg\n"
        "  umbrix --obstacles courtyard.obs --mode shadows --time 10:00 --save shadows.svg\n"
        "  umbrix --obstacles examples/courtyard.obs --set EditDat=21.6.2026 --mode map \\\n"
        "         --time 15:00 --map-quantity PET --save pet.png\n"
        "  umbrix --location Freiburg --datafile examples/summer_days.txt \\\n"
        "         --columns date,time,Ta,RH,v,G --set ChkUeberschriften=1 --output days.txt \\\n"
        "         --plot heatmap:UTCI=utci.png --plot series:Ta,Tmrt,PET=series.svg\n";
    return out;
}

}  // namespace umbrix::cli
