// Charts rendered offscreen from generated runs: the files, their sizes, their texts, and the
// colours where a value is missing or falls in a class.
#include "charts/Charts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QSvgRenderer>
#include <QWidget>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

#include "SyntheticYear.h"
#include "charts/ChartView.h"
#include "support/TempDir.h"

using namespace umbrix;
using namespace umbrix::charts;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t i = text.find(part); i != std::string::npos; i = text.find(part, i + 1)) ++n;
    return n;
}

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ChartError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(Charts, RequestsAndTheirErrors) {
    const struct {
        const char* text;
        ChartKind kind;
        size_t columns;
    } good[] = {{"heatmap:UTCI", ChartKind::Heatmap, 1},
                {" Series: Ta , Tmrt,PET,RH ", ChartKind::Series, 4},
                {"classes:pet", ChartKind::Classes, 1},
                {"DAILY", ChartKind::Daily, 0}};
    for (const auto& g : good) {
        const ChartChoice choice = ParseChartChoice(g.text);
        EXPECT_EQ(choice.kind, g.kind) << g.text;
        EXPECT_EQ(choice.columns.size(), g.columns) << g.text;
    }
    EXPECT_EQ(ParseChartChoice("series: Ta , Tmrt").columns[1], "Tmrt");

    const struct {
        const char* text;
        const char* message;
    } bad[] = {
        {"heatmap", "heatmap takes one column"},
        {"heatmap:Ta,UTCI", "heatmap takes one column"},
        {"series:a,b,c,d,e", "series takes one to four columns"},
        {"series:Ta,,PET", "a column name is empty"},
        {"classes:Ta", "Ta has no stress classes"},
        {"daily:SDmax", "daily takes no columns"},
        {"pie:Ta", "unknown kind \"pie\""},
    };
    for (const auto& b : bad)
        EXPECT_NE(ErrorOf([&] { ParseChartChoice(b.text); }).find(b.message), std::string::npos)
            << b.text << ": " << ErrorOf([&] { ParseChartChoice(b.text); });

    EXPECT_EQ(ParseChartSize("1600x900").width, 1600);
    EXPECT_EQ(ParseChartSize("1600X900").height, 900);
    for (const char* size : {"1600", "100x700", "1200x20000", "12a0x700", "x700", "-5x700"})
        EXPECT_NE(ErrorOf([&] { ParseChartSize(size); }).find("WIDTHxHEIGHT"), std::string::npos)
            << size;

    EXPECT_EQ(ChartFormatOfPath("a/b.SVG"), ChartFormat::Svg);
    EXPECT_EQ(ChartFormatOfPath("chart.png"), ChartFormat::Png);
    EXPECT_EQ(ChartFormatOfPath("chart.bmp"), std::nullopt);
    EXPECT_EQ(ChartFormatOfPath("dir.png/chart"), std::nullopt);
}

TEST(Charts, DataThatCannotGiveTheChart) {
    const ChartData run = test::HourlyRun(2);
    ChartData badDate = run;
    badDate.addRow({2026, 2, 30, 12}, {});
    const struct {
        const ChartData* data;
        const char* choice;
        const char* message;
    } cases[] = {
        {&run, "heatmap:SET*", "no column \"SET*\" (columns: Ta, Tmrt, UTCI, PET, RH)"},
        {&run, "classes:PMV", "classes: the run has no column \"PMV\""},
        {&run, "series:Ta,RH,Ta2", "no column \"Ta2\""},
        {&run, "daily", "daily: the run has no column \"SDmax\""},
        {&badDate, "heatmap:Ta", "row 49: no date 30.2.2026"},
    };
    for (const auto& c : cases)
        EXPECT_NE(ErrorOf([&] { CheckChart(*c.data, ParseChartChoice(c.choice)); }).find(c.message),
                  std::string::npos)
            << c.choice << ": "
            << ErrorOf([&] { CheckChart(*c.data, ParseChartChoice(c.choice)); });

    ChartData units = run;
    units.addColumn("v", "m/s");
    EXPECT_NE(ErrorOf([&] {
                  CheckChart(units, ParseChartChoice("series:Ta,RH,v"));
              }).find("3 different units; one chart shows two at most"),
              std::string::npos);

    test::TempDir dir;
    EXPECT_NE(ErrorOf([&] {
                  SaveChart(run, ParseChartChoice("heatmap:Ta"), dir.file("a.jpg"));
              }).find("must end in .svg or .png"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.jpg")));
}

// Each kind as SVG and PNG, in both languages: the PNG has the asked size, the SVG parses and
// holds the axis titles and every class of the legend.
TEST(Charts, EveryKindToSvgAndPng) {
    test::TempDir dir;
    const struct {
        const char* choice;
        TextLanguage language;
        std::vector<const char*> texts;  // in the SVG
    } cases[] = {
        {"heatmap:UTCI",
         TextLanguage::English,
         {"Date", "Local time [h]", "extreme cold stress", "very strong cold stress",
          "strong cold stress", "moderate cold stress", "slight cold stress", "no thermal stress",
          "moderate heat stress", "strong heat stress", "very strong heat stress",
          "extreme heat stress", "Jan", "Dec"}},
        {"heatmap:Ta",
         TextLanguage::German,
         {"Datum", "Ortszeit [h]", "°C", "~Lufttemperatur Ta [°C] nach Tag"}},
        {"series:Ta,Tmrt,RH",
         TextLanguage::English,
         {"Date", "Ta, Tmrt [°C]", "RH [%]", "Air temperature Ta", "~(daily mean"}},
        {"classes:PET",
         TextLanguage::German,
         {"Monat", "Stunden [h]", "extreme Kältebelastung", "starke Kältebelastung",
          "mäßige Kältebelastung", "schwache Kältebelastung", "keine thermische Belastung",
          "schwache Wärmebelastung", "mäßige Wärmebelastung", "starke Wärmebelastung",
          "extreme Wärmebelastung", "Mär", "Dez"}},
        {"daily",
         TextLanguage::German,
         {"Sonnenscheindauer [min]", "Globalstrahlung je Tag [Wh/m²]",
          "Tatsächliche Sonnenscheindauer SDtat", "Globalstrahlung bei klarem Himmel GmaxSum"}},
    };
    for (const auto& c : cases) {
        const ChartChoice choice = ParseChartChoice(c.choice);
        const ChartData data = choice.kind == ChartKind::Daily ? test::DailyRun(365, c.language)
                                                               : test::HourlyRun(365, c.language);
        const std::string svgPath = dir.file("chart.svg"), pngPath = dir.file("chart.png");
        SaveChart(data, choice, svgPath);
        SaveChart(data, choice, pngPath, {900, 500});

        const QImage png(QString::fromStdString(pngPath), "PNG");
        EXPECT_EQ(png.size(), QSize(900, 500)) << c.choice;
        QSvgRenderer svg(QString::fromStdString(svgPath));
        EXPECT_TRUE(svg.isValid()) << c.choice;
        EXPECT_EQ(svg.viewBox(), QRect(0, 0, 1200, 700)) << c.choice;
        const std::string text = ReadFile(svgPath);
        // a text of its own (an axis title, a legend entry), or "~" and a part of one
        for (const std::string t : c.texts)
            EXPECT_NE(t[0] == '~' ? text.find(t.substr(1)) : text.find(">" + t + "<"),
                      std::string::npos)
                << c.choice << ": " << t;
    }
}

TEST(Charts, NoRowsSaySo) {
    ChartData empty;
    empty.addColumn("UTCI", "°C");
    for (const char* choice : {"heatmap:UTCI", "series:UTCI", "classes:UTCI"}) {
        const std::string svg = RenderChart(empty, ParseChartChoice(choice), ChartFormat::Svg);
        EXPECT_NE(svg.find("No data: the run has no rows."), std::string::npos) << choice;
        EXPECT_EQ(svg.find(">Date<"), std::string::npos) << choice;  // no empty axes
    }
    empty.language = TextLanguage::German;
    EXPECT_NE(RenderChart(empty, ParseChartChoice("heatmap:UTCI"), ChartFormat::Svg)
                  .find("Keine Daten: Der Lauf hat keine Zeilen."),
              std::string::npos);
    // rows, but not one value of the column
    ChartData none = test::HourlyRun(1);
    none.columns()[2].values.assign(24, std::nan(""));
    EXPECT_NE(RenderChart(none, ParseChartChoice("heatmap:UTCI"), ChartFormat::Svg)
                  .find("No data: UTCI has no values in this run."),
              std::string::npos);
}

// Missing values leave gaps: a grey cell in the heat map, a break in a line; a value in a class
// gets the class's colour.
TEST(Charts, MissingValuesLeaveGaps) {
    ChartData data;
    data.addColumn("UTCI", "°C");
    for (int day = 1; day <= 3; ++day)
        for (int h = 0; h < 24; ++h)
            data.addRow({2026, 7, day, h + 0.5}, {day == 2 ? std::nan("") : 20.0});
    const QImage image = RenderChartImage(data, ParseChartChoice("heatmap:UTCI"), {1200, 700});
    // the middle of the plot is day 2 at noon; a third to the left is day 1
    const QColor gap = image.pixelColor(image.width() * 0.42, 350);
    const QColor value = image.pixelColor(image.width() * 0.2, 350);
    EXPECT_EQ(gap, QColor(0xBB, 0xBB, 0xBB));
    EXPECT_EQ(value, QColor(0x66, 0xCC, 0x33));  // UTCI 20: no thermal stress

    // the line in the first colour: one group of segments for day 1 and one for day 3
    const std::string svg = RenderChart(data, ParseChartChoice("series:UTCI"), ChartFormat::Svg);
    int lines = 0;
    for (size_t at = svg.find("stroke=\"#d62728\""); at != std::string::npos;
         at = svg.find("stroke=\"#d62728\"", at + 1))
        if (Count(svg.substr(at, svg.find("</g>", at) - at), "<polyline") >= 10) ++lines;
    EXPECT_EQ(lines, 2);
}

// The desktop's view draws the same heat map at the size of its window.
TEST(Charts, ViewDrawsTheHeatMap) {
    ChartData data;
    data.addColumn("PET", "°C");
    for (int h = 0; h < 24; ++h) data.addRow({2026, 7, 1, h + 0.5}, {45.0});
    std::unique_ptr<QWidget> view(CreateChartView(data, ParseChartChoice("heatmap:PET")));
    view->resize(800, 500);
    view->show();
    QApplication::processEvents();
    const QImage shot = view->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() * 0.4, shot.height() / 2), QColor(0x8B, 0x00, 0x00));
}

// Values at the ends of a double still give a picture rather than a crash or a hang.
TEST(Charts, ExtremeValuesStillDraw) {
    ChartData data;
    data.addColumn("Ta", "°C");
    data.addRow({2026, 1, 1, 1}, {-1e308});
    data.addRow({2026, 1, 1, 2}, {1e308});
    data.addRow({2026, 1, 1, 3}, {std::numeric_limits<double>::infinity()});
    for (const char* choice : {"heatmap:Ta", "series:Ta"})
        EXPECT_EQ(RenderChartImage(data, ParseChartChoice(choice), {400, 300}).size(),
                  QSize(400, 300))
            << choice;
}
