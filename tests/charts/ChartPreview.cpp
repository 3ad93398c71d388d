// Renders charts from a table of the command line, to look at them (not part of the program):
//   chart_preview TABLE en|de [--size WxH] [--view KIND=FILE.png] KIND=FILE...
//   chart_preview --svg-to-png FILE.svg FILE.png
// TABLE is a data table or a daily-data table of umbrix (header lines, a blank line, names,
// units, rows); a run over a year of weather comes from tests/charts/epw_to_datafile.py.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "charts/ChartView.h"
#include "charts/Charts.h"

using namespace umbrix;
using namespace umbrix::charts;

namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    std::string field;
    while (std::getline(in, field, '\t')) {
        while (!field.empty() && field.back() == ' ') field.pop_back();
        fields.push_back(field);
    }
    return fields;
}

ChartData ReadTable(const std::string& path, TextLanguage language) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::string line;
    while (std::getline(in, line) && !line.empty()) {
    }
    std::string nameLine, unitLine;
    std::getline(in, nameLine);
    std::getline(in, unitLine);
    const auto names = Split(nameLine), units = Split(unitLine);
    // the German table names a few quantities differently
    const std::map<std::string, std::string> keys = {
        {"SDtat", "SDact"}, {"Gtat", "Gact"}, {"Stat", "Sact"}, {"Dtat", "Dact"}, {"To", "Ts"}};
    ChartData data;
    data.language = language;
    int dateColumn = -1, timeColumn = -1;
    std::vector<int> columnOf(names.size(), -1);
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == "date" || names[i] == "Datum")
            dateColumn = static_cast<int>(i);
        else if (names[i] == "time" || names[i] == "Zeit")
            timeColumn = static_cast<int>(i);
        else if (!names[i].empty()) {
            const auto k = keys.find(names[i]);
            columnOf[i] =
                static_cast<int>(data.addColumn(k == keys.end() ? names[i] : k->second,
                                                i < units.size() ? units[i] : "", names[i]));
        }
    }
    if (timeColumn < 0) data.hoursPerRow = 24;  // daily data
    while (std::getline(in, line)) {
        const auto fields = Split(line);
        ChartTime t;
        std::sscanf(fields.at(dateColumn).c_str(), "%d.%d.%d", &t.day, &t.month, &t.year);
        t.hour = 12;
        if (timeColumn >= 0) {
            int h = 0, m = 0;
            std::sscanf(fields.at(timeColumn).c_str(), "%d:%d", &h, &m);
            t.hour = h + m / 60.0;
        }
        std::vector<double> values(data.columns().size(), std::nan(""));
        for (size_t i = 0; i < fields.size() && i < columnOf.size(); ++i) {
            if (columnOf[i] < 0) continue;
            char* end = nullptr;
            const double v = std::strtod(fields[i].c_str(), &end);
            if (end != fields[i].c_str() && v != 9999.0) values[columnOf[i]] = v;
        }
        data.addRow(t, values);
    }
    return data;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--svg-to-png") {
        // to look at an SVG file as the Qt SVG module draws it
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        QSvgRenderer svg(QString::fromLocal8Bit(argv[2]));
        if (!svg.isValid()) return 1;
        QImage image(svg.defaultSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        return image.save(QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    }
    if (argc < 4) {
        std::cerr << "usage: chart_preview TABLE en|de KIND=FILE... [--size WxH]\n";
        return 2;
    }
    try {
        const TextLanguage language =
            std::string(argv[2]) == "de" ? TextLanguage::German : TextLanguage::English;
        const ChartData data = ReadTable(argv[1], language);
        ChartSize size;
        for (int i = 3; i < argc; ++i) {
            const std::string arg = argv[i];
            if (arg == "--size" && i + 1 < argc) {
                size = ParseChartSize(argv[++i]);
                continue;
            }
            if (arg == "--view" && i + 1 < argc) {
                // the desktop's view at a window's size, grabbed as the screen shows it
                const std::string request = argv[++i];
                const size_t eq = request.rfind('=');
                std::unique_ptr<QWidget> view(
                    CreateChartView(data, ParseChartChoice(request.substr(0, eq))));
                view->resize(size.width, size.height);
                view->show();
                QApplication::processEvents();
                view->grab().save(QString::fromStdString(request.substr(eq + 1)));
                continue;
            }
            const size_t eq = arg.rfind('=');
            const ChartChoice choice = ParseChartChoice(arg.substr(0, eq));
            const auto start = std::chrono::steady_clock::now();
            SaveChart(data, choice, arg.substr(eq + 1), size);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            std::cout << arg << ": " << data.rows() << " rows, " << ms << " ms\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "chart_preview: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
