#include "charts/ChartBuilder.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QDate>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QStyleOptionGraphicsItem>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "series/RunSummary.h"

namespace umbrix::charts {
namespace {

// ---- texts ----

struct Words {
    const char* date;
    const char* localTime;
    const char* month;
    const char* hours;
    const char* byDayAndHour;  // "%1" the quantity
    const char* timeSeries;    // "%1" the columns
    const char* classesTitle;  // "%1" the index
    const char* dailyTitle;
    const char* sunshine;
    const char* dailyGlobal;
    const char* noRows;
    const char* noValues;  // "%1" the column
    const char* missing;
    const char* and_;
    const char* dailyRange;
};

constexpr Words kEnglish = {
    "Date",
    "Local time [h]",
    "Month",
    "Hours [h]",
    "%1 by day and hour",
    "%1 over time",
    "%1: hours per stress class and month",
    "Daily data: sunshine duration and global radiation per day",
    "Sunshine duration [min]",
    "Global radiation per day [Wh/m²]",
    "No data: the run has no rows.",
    "No data: %1 has no values in this run.",
    "no value",
    " and ",
    " (daily mean; shaded: daily range)",
};
constexpr Words kGerman = {
    "Datum",
    "Ortszeit [h]",
    "Monat",
    "Stunden [h]",
    "%1 nach Tag und Stunde",
    "%1 im Zeitverlauf",
    "%1: Stunden je Belastungsklasse und Monat",
    "Tageswerte: Sonnenscheindauer und Globalstrahlung je Tag",
    "Sonnenscheindauer [min]",
    "Globalstrahlung je Tag [Wh/m²]",
    "Keine Daten: Der Lauf hat keine Zeilen.",
    "Keine Daten: %1 hat in diesem Lauf keine Werte.",
    "kein Wert",
    " und ",
    " (Tagesmittel; schattiert: Tagesspanne)",
};

const Words& WordsOf(TextLanguage language) {
    return language == TextLanguage::German ? kGerman : kEnglish;
}

constexpr std::array<const char*, 12> kMonthsEnglish = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 12> kMonthsGerman = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                                                       "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};

QString MonthName(int month, TextLanguage language) {
    return QString::fromUtf8(
        (language == TextLanguage::German ? kMonthsGerman : kMonthsEnglish)[month - 1]);
}

struct Description {
    const char* key;
    const char* english;
    const char* german;
};

// What a column holds, for titles and legends; unknown columns go by their name alone.
constexpr Description kDescriptions[] = {
    {"Ta", "Air temperature", "Lufttemperatur"},
    {"Tmrt", "Mean radiant temperature", "Mittlere Strahlungstemperatur"},
    {"Ts", "Surface temperature", "Oberflächentemperatur"},
    {"VP", "Vapour pressure", "Dampfdruck"},
    {"RH", "Relative humidity", "Relative Luftfeuchte"},
    {"v", "Wind speed", "Windgeschwindigkeit"},
    {"G", "Global radiation", "Globalstrahlung"},
    {"Gact", "Global radiation", "Globalstrahlung"},
    {"PMV", "Predicted mean vote", "Vorausgesagtes mittleres Votum"},
    {"PET", "Physiologically equivalent temperature", "Physiologisch äquivalente Temperatur"},
    {"SET*", "Standard effective temperature", "Standard-Effektivtemperatur"},
    {"UTCI", "Universal Thermal Climate Index", "Universeller thermischer Klimaindex"},
    {"PT", "Perceived temperature", "Gefühlte Temperatur"},
    {"mPET", "Modified physiologically equivalent temperature",
     "Modifizierte physiologisch äquivalente Temperatur"},
    {"SDmax", "Possible sunshine duration", "Mögliche Sonnenscheindauer"},
    {"SDact", "Actual sunshine duration", "Tatsächliche Sonnenscheindauer"},
    {"GmaxSum", "Clear-sky global radiation", "Globalstrahlung bei klarem Himmel"},
    {"GactSum", "Actual global radiation", "Tatsächliche Globalstrahlung"},
};

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "Air temperature Ta"; the name alone for columns without a description.
QString Described(const ChartColumn& column, TextLanguage language) {
    for (const auto& d : kDescriptions)
        if (column.key == d.key)
            return Q(language == TextLanguage::German ? d.german : d.english) + " " +
                   Q(column.name());
    return Q(column.name());
}

QString WithUnit(const QString& text, const std::string& unit) {
    return unit.empty() ? text : text + " [" + Q(unit) + "]";
}

// ---- fonts and colours ----

// Texts grow and shrink with the picture (sizes below are for 1200 x 700); set by BuildChart,
// which runs on the one GUI thread.
thread_local double fontScale = 1.0;

// Pixel sizes, so that a picture looks the same at any resolution of its painter.
QFont ChartFont(int pixels, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(8, static_cast<int>(std::lround(pixels * fontScale))));
    font.setBold(bold);
    return font;
}

QColor ColourOf(std::uint32_t rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Blue over pale yellow to red (ColorBrewer RdYlBu, reversed): cold is blue, hot is red.
constexpr std::array<std::uint32_t, 11> kScale = {0x313695, 0x4575B4, 0x74ADD1, 0xABD9E9,
                                                  0xE0F3F8, 0xFFFFBF, 0xFEE090, 0xFDAE61,
                                                  0xF46D43, 0xD73027, 0xA50026};

QColor ScaleColour(double t) {
    if (std::isnan(t)) t = 0;
    t = std::clamp(t, 0.0, 1.0) * (kScale.size() - 1);
    const int i = std::min(static_cast<int>(t), static_cast<int>(kScale.size()) - 2);
    const double f = t - i;
    const QColor a = ColourOf(kScale[i]), b = ColourOf(kScale[i + 1]);
    return QColor::fromRgbF(a.redF() + f * (b.redF() - a.redF()),
                            a.greenF() + f * (b.greenF() - a.greenF()),
                            a.blueF() + f * (b.blueF() - a.blueF()));
}

// Lines of the series charts: well apart in hue and in lightness.
constexpr std::array<std::uint32_t, 4> kLineColours = {0xD62728, 0x1F77B4, 0x2CA02C, 0xFF7F0E};

const QColor kMissingColour(0xBB, 0xBB, 0xBB);

// ---- time ----

QDate DateOf(const ChartTime& t) {
    return QDate(t.year, t.month, t.day);
}

struct TimeSpan {
    QDate first;
    int days = 0;  // whole days from the first date's midnight to the end of the last date
};

TimeSpan SpanOf(const ChartData& data) {
    TimeSpan span;
    QDate last;
    for (const ChartTime& t : data.times()) {
        const QDate d = DateOf(t);
        if (!span.first.isValid() || d < span.first) span.first = d;
        if (!last.isValid() || d > last) last = d;
    }
    if (span.first.isValid()) span.days = static_cast<int>(span.first.daysTo(last)) + 1;
    return span;
}

double DayPosition(const ChartTime& t, const QDate& first) {
    return static_cast<double>(first.daysTo(DateOf(t))) + t.hour / 24.0;
}

struct Category {
    QString label;
    double end;
};

// The categories of a date axis over [0, days]: one per day for runs of up to a quarter, else
// one per month.
constexpr int kMostDayCategories = 92;

std::vector<Category> DateCategories(const TimeSpan& span, TextLanguage language) {
    std::vector<Category> categories;
    if (span.days <= kMostDayCategories) {
        for (int i = 0; i < span.days; ++i) {
            const QDate d = span.first.addDays(i);
            categories.push_back(
                {language == TextLanguage::German
                     ? QString("%1.%2.").arg(d.day()).arg(d.month())
                     : QString("%1 %2").arg(d.day()).arg(MonthName(d.month(), language)),
                 i + 1.0});
        }
        return categories;
    }
    const QDate last = span.first.addDays(span.days - 1);
    const int months =
        (last.year() - span.first.year()) * 12 + last.month() - span.first.month() + 1;
    const bool years = span.first.year() != last.year();
    QDate start(span.first.year(), span.first.month(), 1);
    for (int i = 0; i < months; ++i, start = start.addMonths(1)) {
        QString label = MonthName(start.month(), language);
        if (years && (i == 0 || start.month() == 1)) label += QString(" %1").arg(start.year());
        categories.push_back(
            {label, std::min<double>(span.first.daysTo(start.addMonths(1)), span.days)});
    }
    return categories;
}

// Step 1: every category labelled in its middle. A label must fit its category, so on a
// narrower plot categories are merged step by step and each labelled at its start by the name
// of the month or day that starts there.
void LabelCategories(QCategoryAxis* axis, const std::vector<Category>& categories, int step) {
    for (const QString& label : axis->categoriesLabels()) axis->remove(label);
    if (step == 1) {
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
        for (const Category& c : categories) axis->append(c.label, c.end);
        return;
    }
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (size_t i = step; i < categories.size(); i += step)
        axis->append(categories[i].label, categories[i - 1].end);
    axis->append(QString(QChar(0x200B)), categories.back().end);  // labels must differ
}

// A date axis, labelled in the middle of each day or month; fewer labels on a narrow plot.
QCategoryAxis* DateAxis(QChart* chart, const TimeSpan& span, TextLanguage language) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    axis->setStartValue(0);
    axis->setRange(0, span.days);
    const auto categories = DateCategories(span, language);
    const QFontMetricsF metrics(ChartFont(12));
    double widest = 0;
    for (const Category& c : categories)
        widest = std::max(widest, metrics.horizontalAdvance(c.label) + metrics.height());
    auto step = std::make_shared<int>(0);
    auto fit = [axis, categories, widest, step, days = span.days](double width) {
        // a month is 28 days or more (a partial one at either end may crowd its neighbour)
        const double narrowest = width * (days <= kMostDayCategories ? 1 : 28) / days;
        const int needed =
            std::max(1, static_cast<int>(std::ceil(widest / std::max(narrowest, 1.0))));
        if (needed == *step) return;
        *step = needed;
        LabelCategories(axis, categories, needed);
    };
    fit(1000);  // before the first layout
    QObject::connect(chart, &QChart::plotAreaChanged, axis,
                     [fit](const QRectF& plot) { fit(plot.width()); });
    return axis;
}

// ---- common chart parts ----

void StyleAxis(QAbstractAxis* axis, const QString& title) {
    axis->setTitleText(title);
    axis->setTitleFont(ChartFont(14));
    axis->setLabelsFont(ChartFont(12));
}

QChart* NewChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(ChartFont(17, true));
    chart->setBackgroundRoundness(0);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setFont(ChartFont(12));
    return chart;
}

// A chart with its title and a sentence in the middle instead of empty axes.
QChart* NoDataChart(const QString& title, const QString& message) {
    QChart* chart = NewChart(title);
    chart->legend()->hide();
    auto* text = new QGraphicsSimpleTextItem(message, chart);
    text->setFont(ChartFont(18));
    text->setBrush(QColor(0x55, 0x55, 0x55));
    auto centre = [chart, text] {
        const QRectF box = text->boundingRect();
        text->setPos(chart->size().width() / 2 - box.width() / 2,
                     chart->size().height() / 2 - box.height() / 2);
    };
    QObject::connect(chart, &QGraphicsWidget::geometryChanged, chart, centre);
    centre();
    return chart;
}

bool HasValues(const ChartColumn& column) {
    return std::any_of(column.values.begin(), column.values.end(),
                       [](double v) { return std::isfinite(v); });
}

// ---- heat map ----

// The cells of the heat map, drawn as one image into the plot area: thousands of cells as
// chart items would be far too slow. The image is scaled to the painter's pixels without
// smoothing, so that no viewer blurs the cells of a vector file either.
class HeatMapItem : public QGraphicsItem {
  public:
    HeatMapItem(QImage cells, QChart* chart) : QGraphicsItem(chart), cells_(std::move(cells)) {}

    void setRect(const QRectF& rect) {
        prepareGeometryChange();
        rect_ = rect;
    }
    QRectF boundingRect() const override { return rect_; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        const QRect device = painter->transform().mapRect(rect_).toAlignedRect();
        if (device.isEmpty()) return;
        if (scaled_.size() != device.size())
            scaled_ = cells_.scaled(device.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        painter->drawImage(rect_, scaled_);
    }

  private:
    QImage cells_;
    QImage scaled_;
    QRectF rect_;
};

// The colour scale beside the plot area, with its ticks and the unit above it.
class ColourBarItem : public QGraphicsItem {
  public:
    ColourBarItem(double low, double high, double step, QString unit, QString missing,
                  QChart* chart)
        : QGraphicsItem(chart),
          low_(low),
          high_(high),
          step_(step),
          unit_(std::move(unit)),
          missing_(std::move(missing)),
          font_(ChartFont(12)),
          scale_(fontScale) {}

    void setPlotArea(const QRectF& plot) {
        prepareGeometryChange();
        bar_ = QRectF(plot.right() + 28 * scale_, plot.top(), 18 * scale_, plot.height());
    }
    QRectF boundingRect() const override {
        return bar_.adjusted(-4, -30 * scale_, 80 * scale_, 40 * scale_);
    }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        QLinearGradient gradient(bar_.bottomLeft(), bar_.topLeft());
        for (int i = 0; i <= 20; ++i) gradient.setColorAt(i / 20.0, ScaleColour(i / 20.0));
        painter->fillRect(bar_, gradient);
        painter->setPen(QPen(Qt::black, 1));
        painter->drawRect(bar_);
        painter->setFont(font_);
        const QFontMetricsF metrics(painter->font());
        // every k-th tick labelled where the bar is short
        const double intervals = (high_ - low_) / step_;
        const int steps = std::isfinite(intervals)
                              ? std::clamp(static_cast<int>(std::lround(intervals)), 1, 100)
                              : 1;
        const double pixelsPerStep = std::max(bar_.height() / steps, 1.0);
        const int k = std::clamp(
            static_cast<int>(std::ceil(1.5 * metrics.height() / pixelsPerStep)), 1, steps);
        for (int i = 0; i <= steps; i += k) {
            const double v = low_ + i * (high_ - low_) / steps;
            const double y = bar_.bottom() - static_cast<double>(i) / steps * bar_.height();
            painter->drawLine(QPointF(bar_.right(), y), QPointF(bar_.right() + 5, y));
            painter->drawText(QPointF(bar_.right() + 8, y + metrics.ascent() / 2 - 1),
                              QString::number(v, 'g', 6));
        }
        painter->drawText(QPointF(bar_.left(), bar_.top() - 10 * scale_), unit_);
        if (!missing_.isEmpty()) {
            // the gaps' colour under the scale
            const QRectF swatch(bar_.left(), bar_.bottom() + 22 * scale_, bar_.width(),
                                12 * scale_);
            painter->fillRect(swatch, kMissingColour);
            painter->drawText(QPointF(swatch.right() + 5, swatch.bottom() - 1), missing_);
        }
    }

  private:
    double low_, high_, step_;
    QString unit_;
    QString missing_;
    QFont font_;
    double scale_;
    QRectF bar_;
};

// A range from low to high in round steps (1, 2, 2.5 or 5 times a power of ten) with at most
// `most` intervals, the one that pads the values least.
void NiceRange(double& low, double& high, double& step, int most = 10) {
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    const double magnitude = std::pow(10.0, std::floor(std::log10((high - low) / 10)));
    double bestLow = low, bestHigh = high, bestStep = 0;
    for (double scale : {1.0, 10.0, 100.0, 1000.0})
        for (double m : {1.0, 2.0, 2.5, 5.0}) {
            const double s = m * magnitude * scale;
            const double l = std::floor(low / s) * s, h = std::ceil(high / s) * s;
            if ((h - l) / s > most + 0.5) continue;
            if (bestStep == 0 || h - l < bestHigh - bestLow - 1e-9 * s) {
                bestLow = l;
                bestHigh = h;
                bestStep = s;
            }
        }
    if (!(bestStep > 0) || !std::isfinite(bestHigh - bestLow)) {
        // values near the limits of a double: one interval over what there is
        step = std::isfinite(high - low) ? high - low : 1;
        return;
    }
    low = bestLow;
    high = bestHigh;
    step = bestStep;
}

// Keeps the ticks of a value axis over [low, high] about 30 pixels apart or more, as the
// plot area changes.
void SpaceTicks(QChart* chart, QValueAxis* axis, double low, double high) {
    auto fit = [axis, low, high](double height) {
        const int most = std::clamp(static_cast<int>(height / 30), 2, 10);
        double l = low, h = high, step = 1;
        NiceRange(l, h, step, most);
        const double intervals = (h - l) / step;
        const int ticks =
            std::isfinite(intervals) ? static_cast<int>(std::lround(intervals)) + 1 : 2;
        if (axis->min() == l && axis->max() == h && axis->tickCount() == ticks) return;
        axis->setRange(l, h);
        axis->setTickCount(ticks);
    };
    fit(500);  // before the first layout
    QObject::connect(chart, &QChart::plotAreaChanged, axis,
                     [fit](const QRectF& plot) { fit(plot.height()); });
}

QChart* HeatmapChart(const ChartData& data, const ChartColumn& column) {
    const Words& w = WordsOf(data.language);
    const QString title = QString::fromUtf8(w.byDayAndHour)
                              .arg(WithUnit(Described(column, data.language), column.unit));
    if (data.rows() == 0) return NoDataChart(title, QString::fromUtf8(w.noRows));
    if (!HasValues(column))
        return NoDataChart(title, QString::fromUtf8(w.noValues).arg(Q(column.name())));

    const TimeSpan span = SpanOf(data);
    // the mean of the values in each cell (several with sub-hourly rows)
    std::vector<double> sum(static_cast<size_t>(span.days) * 24, 0.0);
    std::vector<int> count(sum.size(), 0);
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (size_t r = 0; r < data.rows(); ++r) {
        const double v = column.values[r];
        if (!std::isfinite(v)) continue;
        const ChartTime& t = data.times()[r];
        const int hour = std::clamp(static_cast<int>(std::floor(t.hour)), 0, 23);
        const size_t cell = static_cast<size_t>(span.first.daysTo(DateOf(t))) * 24 + hour;
        sum[cell] += v;
        ++count[cell];
    }
    const bool missing = std::count(count.begin(), count.end(), 0) > 0;
    for (size_t c = 0; c < sum.size(); ++c)
        if (count[c] > 0) {
            sum[c] /= count[c];
            low = std::min(low, sum[c]);
            high = std::max(high, sum[c]);
        }

    const auto index = StressIndexFromName(column.key);
    double step = 1;
    if (!index) NiceRange(low, high, step);
    QImage cells(span.days, 24, QImage::Format_ARGB32);
    cells.fill(kMissingColour);  // a missing value leaves a grey gap
    for (int d = 0; d < span.days; ++d)
        for (int h = 0; h < 24; ++h) {
            const size_t c = static_cast<size_t>(d) * 24 + h;
            if (count[c] == 0) continue;
            const QColor colour =
                index ? ColourOf(StressClasses(*index)[StressClassOf(*index, sum[c])].rgb)
                      : ScaleColour((sum[c] / 2 - low / 2) /
                                    (high / 2 - low / 2));  // halves: no overflow
            cells.setPixelColor(d, 23 - h, colour);
        }

    QChart* chart = NewChart(title);
    QCategoryAxis* x = DateAxis(chart, span, data.language);
    StyleAxis(x, QString::fromUtf8(w.date));
    auto* y = new QValueAxis;
    y->setRange(0, 24);
    y->setLabelFormat("%d");
    auto hours = [y](double height) {  // every 3, 6 or 12 hours
        const int ticks = height >= 240 ? 9 : height >= 120 ? 5 : 3;
        if (y->tickCount() != ticks) y->setTickCount(ticks);
    };
    hours(500);
    QObject::connect(chart, &QChart::plotAreaChanged, y,
                     [hours](const QRectF& plot) { hours(plot.height()); });
    StyleAxis(y, QString::fromUtf8(w.localTime));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    x->setGridLineVisible(false);
    y->setGridLineVisible(false);

    auto* map = new HeatMapItem(std::move(cells), chart);
    map->setZValue(1);  // above the plot area's background, below the axes
    if (index) {
        // a legend of every class, hottest first as in the scale
        const auto classes = StressClasses(*index);
        for (auto c = classes.rbegin(); c != classes.rend(); ++c) {
            auto* marker = new QScatterSeries;
            marker->setName(Q(c->label(data.language)));
            marker->setColor(ColourOf(c->rgb));
            marker->setBorderColor(ColourOf(c->rgb));
            chart->addSeries(marker);
            marker->attachAxis(x);
            marker->attachAxis(y);
        }
        if (missing) {
            auto* marker = new QScatterSeries;
            marker->setName(QString::fromUtf8(w.missing));
            marker->setColor(kMissingColour);
            marker->setBorderColor(kMissingColour);
            chart->addSeries(marker);
            marker->attachAxis(x);
            marker->attachAxis(y);
        }
        chart->legend()->setAlignment(Qt::AlignRight);
        chart->legend()->setMarkerShape(QLegend::MarkerShapeRectangle);
        QObject::connect(chart, &QChart::plotAreaChanged, chart,
                         [map](const QRectF& plot) { map->setRect(plot); });
    } else {
        chart->legend()->hide();
        auto* bar = new ColourBarItem(low, high, step, Q(column.unit),
                                      missing ? QString::fromUtf8(w.missing) : QString(), chart);
        chart->setMargins(QMargins(10, 10, static_cast<int>(90 * fontScale), 10));
        QObject::connect(chart, &QChart::plotAreaChanged, chart, [map, bar](const QRectF& plot) {
            map->setRect(plot);
            bar->setPlotArea(plot);
        });
    }
    return chart;
}

// ---- series ----

struct LineStyle {
    QColor colour;
    Qt::PenStyle pen = Qt::SolidLine;
};

struct LineOptions {
    std::vector<LineStyle> styles;    // per column
    std::vector<QString> axisTitles;  // per unit, in the order the columns bring them
    bool fromZero = false;            // value axes include zero (durations, sums)
};

// A run of rows is drawn day by day (mean line, range shaded) when it has more rows than a
// plot has pixels: a year of hours as lines is a solid smear.
constexpr size_t kMostRowsAsLines = 1500;

// One drawn value: the x position in days and the value, with the day's range when aggregated.
struct LinePoint {
    double x, value, low, high;
};

// The column's points, split where values are missing: pieces of one point become dots.
std::vector<std::vector<LinePoint>> Pieces(const ChartData& data, const ChartColumn& column,
                                           const QDate& first, bool daily) {
    std::vector<std::vector<LinePoint>> pieces(1);
    auto gap = [&] {
        if (!pieces.back().empty()) pieces.emplace_back();
    };
    if (!daily) {
        for (size_t r = 0; r < data.rows(); ++r) {
            const double v = column.values[r];
            if (!std::isfinite(v)) {
                gap();
                continue;
            }
            pieces.back().push_back({DayPosition(data.times()[r], first), v, v, v});
        }
    } else {
        // rows of one day need not follow each other, so the days are gathered first
        const long long days = SpanOf(data).days;
        std::vector<double> sum(days, 0.0), low(days, std::numeric_limits<double>::infinity()),
            high(days, -std::numeric_limits<double>::infinity());
        std::vector<int> count(days, 0);
        for (size_t r = 0; r < data.rows(); ++r) {
            const double v = column.values[r];
            if (!std::isfinite(v)) continue;
            const long long d = first.daysTo(DateOf(data.times()[r]));
            sum[d] += v;
            ++count[d];
            low[d] = std::min(low[d], v);
            high[d] = std::max(high[d], v);
        }
        for (long long d = 0; d < days; ++d) {
            if (count[d] == 0) {
                gap();
                continue;
            }
            pieces.back().push_back({d + 0.5, sum[d] / count[d], low[d], high[d]});
        }
    }
    if (pieces.back().empty()) pieces.pop_back();
    return pieces;
}

// Lines of up to four columns on a shared date axis, one value axis per unit (two at most);
// missing values break the lines.
QChart* LineChart(const ChartData& data, QString title,
                  const std::vector<const ChartColumn*>& columns, const LineOptions& options) {
    const Words& w = WordsOf(data.language);
    if (data.rows() == 0) return NoDataChart(title, QString::fromUtf8(w.noRows));
    if (std::none_of(columns.begin(), columns.end(),
                     [](const ChartColumn* c) { return HasValues(*c); })) {
        QStringList names;
        for (const ChartColumn* c : columns) names << Q(c->name());
        return NoDataChart(title, QString::fromUtf8(w.noValues).arg(names.join(", ")));
    }
    const TimeSpan span = SpanOf(data);
    const bool daily = data.rows() > kMostRowsAsLines && data.hoursPerRow < 24;
    if (daily) title += QString::fromUtf8(w.dailyRange);

    QChart* chart = NewChart(title);
    QCategoryAxis* x = DateAxis(chart, span, data.language);
    StyleAxis(x, QString::fromUtf8(w.date));
    chart->addAxis(x, Qt::AlignBottom);

    std::vector<std::string> units;
    for (const ChartColumn* c : columns)
        if (std::find(units.begin(), units.end(), c->unit) == units.end()) units.push_back(c->unit);
    std::vector<QValueAxis*> axes;
    for (size_t u = 0; u < units.size(); ++u) {
        auto* axis = new QValueAxis;
        StyleAxis(axis, options.axisTitles[u]);
        axis->setLabelFormat("%g");
        // one grid is enough; the second axis's ticks would cross it
        if (u > 0) axis->setGridLineVisible(false);
        chart->addAxis(axis, u == 0 ? Qt::AlignLeft : Qt::AlignRight);
        axes.push_back(axis);
    }
    std::vector<double> low(units.size(), std::numeric_limits<double>::infinity());
    std::vector<double> high(units.size(), -std::numeric_limits<double>::infinity());

    auto add = [&](QAbstractSeries* series, size_t u, const QString& name, bool inLegend) {
        series->setName(name);
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(axes[u]);
        if (!inLegend)
            for (QLegendMarker* m : chart->legend()->markers(series)) m->setVisible(false);
    };
    std::vector<std::vector<std::vector<LinePoint>>> pieces;
    for (const ChartColumn* column : columns) {
        pieces.push_back(Pieces(data, *column, span.first, daily));
        const size_t u = std::find(units.begin(), units.end(), column->unit) - units.begin();
        for (const auto& piece : pieces.back())
            for (const LinePoint& p : piece) {
                low[u] = std::min(low[u], p.low);
                high[u] = std::max(high[u], p.high);
            }
    }
    // the daily ranges first, under every line
    if (daily)
        for (size_t i = 0; i < columns.size(); ++i) {
            const size_t u =
                std::find(units.begin(), units.end(), columns[i]->unit) - units.begin();
            QColor fill = options.styles[i].colour;
            fill.setAlpha(55);
            for (const auto& piece : pieces[i]) {
                auto* upper = new QLineSeries;
                auto* lower = new QLineSeries;
                for (const LinePoint& p : piece) {
                    upper->append(p.x, p.high);
                    lower->append(p.x, p.low);
                }
                auto* band = new QAreaSeries(upper, lower);
                upper->setParent(band);
                lower->setParent(band);
                band->setPen(Qt::NoPen);
                band->setBrush(fill);
                add(band, u, QString(), false);
            }
        }
    const double width = daily ? 1.5 : (data.rows() > 400 ? 1.0 : 2.0);
    for (size_t i = 0; i < columns.size(); ++i) {
        const ChartColumn& column = *columns[i];
        const size_t u = std::find(units.begin(), units.end(), column.unit) - units.begin();
        const QPen pen(options.styles[i].colour, width, options.styles[i].pen);
        const QString name = Described(column, data.language);
        bool named = false;
        auto* dots = new QScatterSeries;  // values between two gaps
        dots->setMarkerSize(5);
        dots->setColor(options.styles[i].colour);
        dots->setBorderColor(options.styles[i].colour);
        for (const auto& piece : pieces[i]) {
            if (piece.size() == 1) {
                dots->append(piece[0].x, piece[0].value);
                continue;
            }
            QList<QPointF> points;
            points.reserve(static_cast<qsizetype>(piece.size()));
            for (const LinePoint& p : piece) points.append(QPointF(p.x, p.value));
            auto* line = new QLineSeries;
            line->replace(points);
            line->setPen(pen);
            add(line, u, name, !named);
            named = true;
        }
        if (dots->count() > 0 || !named) {
            add(dots, u, name, !named);
        } else {
            delete dots;
        }
    }
    for (size_t u = 0; u < units.size(); ++u) {
        if (options.fromZero) low[u] = std::min(low[u], 0.0), high[u] = std::max(high[u], 0.0);
        SpaceTicks(chart, axes[u], low[u], high[u]);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    return chart;
}

QChart* SeriesChart(const ChartData& data, const ChartChoice& choice) {
    std::vector<const ChartColumn*> columns;
    LineOptions options;
    QStringList names;
    for (const std::string& name : choice.columns) {
        columns.push_back(data.column(name));
        options.styles.push_back(
            {ColourOf(kLineColours[options.styles.size() % kLineColours.size()])});
        names << Q(columns.back()->name());
    }
    // per unit: "Ta, Tmrt [°C]"
    std::vector<std::string> units;
    for (const ChartColumn* c : columns)
        if (std::find(units.begin(), units.end(), c->unit) == units.end()) {
            units.push_back(c->unit);
            QStringList same;
            for (const ChartColumn* d : columns)
                if (d->unit == c->unit) same << Q(d->name());
            options.axisTitles.push_back(WithUnit(same.join(", "), c->unit));
        }
    const Words& w = WordsOf(data.language);
    QString list = names.join(", ");
    if (names.size() > 1)
        list = QStringList(names.mid(0, names.size() - 1)).join(", ") + QString::fromUtf8(w.and_) +
               names.back();
    return LineChart(data, QString::fromUtf8(w.timeSeries).arg(list), columns, options);
}

QChart* DailyChart(const ChartData& data) {
    const Words& w = WordsOf(data.language);
    const QColor sun(0xE6, 0x8A, 0x00), radiation(0x1F, 0x77, 0xB4);
    // the possible values dashed and drawn last, so that the actual ones do not hide them
    const std::vector<const ChartColumn*> columns = {
        data.column("SDact"), data.column("SDmax"), data.column("GactSum"), data.column("GmaxSum")};
    LineOptions options;
    options.styles = {{sun}, {sun, Qt::DashLine}, {radiation}, {radiation, Qt::DashLine}};
    options.axisTitles = {QString::fromUtf8(w.sunshine), QString::fromUtf8(w.dailyGlobal)};
    options.fromZero = true;
    return LineChart(data, QString::fromUtf8(w.dailyTitle), columns, options);
}

// ---- stress classes ----

SummaryQuantity QuantityOf(StressIndex index) {
    switch (index) {
        case StressIndex::UTCI:
            return SummaryQuantity::UTCI;
        case StressIndex::PET:
            return SummaryQuantity::PET;
        case StressIndex::PMV:
            return SummaryQuantity::PMV;
        case StressIndex::PT:
            return SummaryQuantity::PT;
    }
    return SummaryQuantity::UTCI;
}

QChart* ClassesChart(const ChartData& data, const ChartColumn& column, StressIndex index) {
    const Words& w = WordsOf(data.language);
    const QString title = QString::fromUtf8(w.classesTitle).arg(Q(StressIndexName(index)));
    if (data.rows() == 0) return NoDataChart(title, QString::fromUtf8(w.noRows));
    if (!HasValues(column))
        return NoDataChart(title, QString::fromUtf8(w.noValues).arg(Q(column.name())));

    const SummaryQuantity quantity = QuantityOf(index);
    RunSummary summary({quantity}, data.hoursPerRow);
    for (size_t r = 0; r < data.rows(); ++r) {
        SummaryRow row;
        row.month = data.times()[r].month;
        row[quantity] = column.values[r];
        summary.add(row);
    }
    const std::vector<int> months = summary.months();

    QChart* chart = NewChart(title);
    auto* bars = new QStackedBarSeries;
    bars->setBarWidth(0.7);
    const auto classes = StressClasses(index);
    for (size_t c = 0; c < classes.size(); ++c) {
        auto* set = new QBarSet(Q(classes[c].label(data.language)));
        set->setColor(ColourOf(classes[c].rgb));
        set->setBorderColor(ColourOf(classes[c].rgb));
        for (int m : months) *set << summary.classHours(quantity, static_cast<int>(c), m);
        bars->append(set);
    }
    if (summary.missingHours(quantity) > 0) {
        auto* set = new QBarSet(QString::fromUtf8(w.missing));
        set->setColor(kMissingColour);
        set->setBorderColor(kMissingColour);
        for (int m : months) *set << summary.missingHours(quantity, m);
        bars->append(set);
    }
    chart->addSeries(bars);

    auto* x = new QBarCategoryAxis;
    for (int m : months) x->append(MonthName(m, data.language));
    StyleAxis(x, QString::fromUtf8(w.month));
    x->setGridLineVisible(false);
    auto* y = new QValueAxis;
    StyleAxis(y, QString::fromUtf8(w.hours));
    y->setLabelFormat("%g");
    double most = 0;
    for (int m : months) most = std::max<double>(most, summary.rows(m) * data.hoursPerRow);
    SpaceTicks(chart, y, 0, most);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeRectangle);
    chart->legend()->setReverseMarkers(true);  // hottest on top, as in the bars
    return chart;
}

}  // namespace

QChart* BuildChart(const ChartData& data, const ChartChoice& choice, ChartSize size) {
    fontScale = std::clamp(std::min(size.width / 1200.0, size.height / 700.0), 0.75, 4.0);
    switch (choice.kind) {
        case ChartKind::Heatmap:
            return HeatmapChart(data, *data.column(choice.columns.at(0)));
        case ChartKind::Series:
            return SeriesChart(data, choice);
        case ChartKind::Classes: {
            const std::string& name = choice.columns.at(0);
            return ClassesChart(data, *data.column(name), *StressIndexFromName(name));
        }
        case ChartKind::Daily:
            return DailyChart(data);
    }
    return nullptr;
}

}  // namespace umbrix::charts
