#include "charts/Charts.h"

#include <QApplication>
#include <QBuffer>
#include <QChartView>
#include <QDate>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <tuple>

#include "charts/ChartBuilder.h"
#include "charts/ChartView.h"
#include "platform/OutputFile.h"

namespace umbrix::charts {
namespace {

std::string Lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::string KnownColumns(const ChartData& data) {
    std::string list;
    for (const ChartColumn& c : data.columns()) {
        if (!list.empty()) list += ", ";
        list += c.key;
    }
    return list.empty() ? "none" : list;
}

const ChartColumn& RequireColumn(const ChartData& data, const std::string& name,
                                 const std::string& kind) {
    const ChartColumn* column = data.column(name);
    if (!column)
        throw ChartError(kind + ": the run has no column \"" + name +
                         "\" (columns: " + KnownColumns(data) + ")");
    return *column;
}

// The SVG painter opens a group for every change of state, most of them empty: dropped, they
// would make up more than half of the file.
std::string WithoutEmptyGroups(const QByteArray& svg) {
    std::string out;
    out.reserve(static_cast<size_t>(svg.size()));
    const std::string_view text(svg.constData(), static_cast<size_t>(svg.size()));
    size_t i = 0;
    while (i < text.size()) {
        const size_t open = text.find("<g ", i);
        if (open == std::string_view::npos) break;
        const size_t end = text.find('>', open);
        if (end == std::string_view::npos) break;
        size_t next = end + 1;
        while (next < text.size() && std::isspace(static_cast<unsigned char>(text[next]))) ++next;
        if (text.compare(next, 4, "</g>") == 0) {
            out.append(text.substr(i, open - i));
            i = next + 4;
            while (i < text.size() && text[i] == '\n') ++i;
        } else {
            out.append(text.substr(i, end + 1 - i));
            i = end + 1;
        }
    }
    out.append(text.substr(std::min(i, text.size())));
    return out;
}

// Charts need a QApplication; a command-line process gets an offscreen one that lives until
// the process ends.
void EnsureApplication() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    if (QCoreApplication::instance())
        throw ChartError("charts need a QApplication, and the program runs another Qt application");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "umbrix";
    static char* argv[] = {name, nullptr};
    // the offscreen platform's start-up notes (no XDG_RUNTIME_DIR on a server) are no news to
    // the user of a command
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QApplication* application = new QApplication(argc, argv);
    qInstallMessageHandler(previous);
    (void)application;
}

// The chart laid out at the size of the picture in a scene of its own.
class Staged {
  public:
    Staged(const ChartData& data, const ChartChoice& choice, ChartSize size) {
        CheckChart(data, choice);
        if (size.width < kMinChartSide || size.height < kMinChartSide ||
            size.width > kMaxChartSide || size.height > kMaxChartSide)
            throw ChartError("chart size " + std::to_string(size.width) + "x" +
                             std::to_string(size.height) + " is outside 200 to 10000 pixels");
        EnsureApplication();
        scene_ = std::make_unique<QGraphicsScene>();
        chart_ = BuildChart(data, choice, size);
        scene_->addItem(chart_);
        rect_ = QRectF(0, 0, size.width, size.height);
        chart_->setGeometry(rect_);
        QCoreApplication::sendPostedEvents();
    }
    void render(QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        scene_->render(&painter, rect_, rect_);
    }
    QString title() const { return chart_->title(); }

  private:
    std::unique_ptr<QGraphicsScene> scene_;  // owns the chart; made once the application is
    QChart* chart_ = nullptr;
    QRectF rect_;
};

}  // namespace

ChartChoice ParseChartChoice(std::string_view text) {
    text = Trim(text);
    const size_t colon = text.find(':');
    const std::string kind = Lower(Trim(text.substr(0, colon)));
    std::vector<std::string> columns;
    if (colon != std::string_view::npos) {
        std::string_view rest = text.substr(colon + 1);
        while (true) {
            const size_t comma = rest.find(',');
            const std::string_view name = Trim(rest.substr(0, comma));
            if (name.empty())
                throw ChartError("chart \"" + std::string(text) + "\": a column name is empty");
            columns.emplace_back(name);
            if (comma == std::string_view::npos) break;
            rest.remove_prefix(comma + 1);
        }
    }
    const std::string request = "chart \"" + std::string(text) + "\": ";
    ChartChoice choice;
    choice.columns = columns;
    if (kind == "heatmap" || kind == "classes") {
        choice.kind = kind == "heatmap" ? ChartKind::Heatmap : ChartKind::Classes;
        if (columns.size() != 1)
            throw ChartError(request + kind + " takes one column, as in " + kind + ":UTCI");
        if (choice.kind == ChartKind::Classes && !StressIndexFromName(columns[0]))
            throw ChartError(request + columns[0] +
                             " has no stress classes; classes: takes UTCI, PET, PMV or PT");
    } else if (kind == "series") {
        choice.kind = ChartKind::Series;
        if (columns.empty() || columns.size() > kMaxSeriesColumns)
            throw ChartError(request + "series takes one to four columns, as in series:Ta,Tmrt");
    } else if (kind == "daily") {
        choice.kind = ChartKind::Daily;
        if (!columns.empty()) throw ChartError(request + "daily takes no columns");
    } else {
        throw ChartError(request + "unknown kind \"" + kind +
                         "\"; the kinds are heatmap:COLUMN, series:COLUMN[,COLUMN...], "
                         "classes:INDEX and daily");
    }
    return choice;
}

std::optional<ChartFormat> ChartFormatOfPath(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos)
        return std::nullopt;
    const std::string extension = Lower(path.substr(dot));
    if (extension == ".svg") return ChartFormat::Svg;
    if (extension == ".png") return ChartFormat::Png;
    return std::nullopt;
}

ChartSize ParseChartSize(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    const size_t x = trimmed.find_first_of("xX");
    ChartSize size;
    auto number = [](std::string_view part, int& value) {
        const auto result = std::from_chars(part.data(), part.data() + part.size(), value);
        return !part.empty() && result.ec == std::errc() && result.ptr == part.data() + part.size();
    };
    if (x == std::string_view::npos || !number(trimmed.substr(0, x), size.width) ||
        !number(trimmed.substr(x + 1), size.height) || size.width < kMinChartSide ||
        size.height < kMinChartSide || size.width > kMaxChartSide || size.height > kMaxChartSide)
        throw ChartError("chart size \"" + std::string(text) +
                         "\": give WIDTHxHEIGHT in pixels, each from 200 to 10000, as in 1200x700");
    return size;
}

void CheckChart(const ChartData& data, const ChartChoice& choice) {
    for (const ChartColumn& c : data.columns())
        if (c.values.size() != data.rows())
            throw ChartError("column " + c.key + " has " + std::to_string(c.values.size()) +
                             " values for " + std::to_string(data.rows()) + " rows");
    for (size_t r = 0; r < data.rows(); ++r) {
        const ChartTime& t = data.times()[r];
        if (!QDate(t.year, t.month, t.day).isValid() || !(t.hour >= 0 && t.hour <= 24))
            throw ChartError("row " + std::to_string(r + 1) + ": no date " + std::to_string(t.day) +
                             "." + std::to_string(t.month) + "." + std::to_string(t.year) +
                             " and hour " + std::to_string(t.hour));
    }
    if (!(data.hoursPerRow > 0) || !std::isfinite(data.hoursPerRow))
        throw ChartError("the hours per row must be positive");
    // a span of more than a century is no run of this program
    if (data.rows() > 0) {
        const auto [low, high] = std::minmax_element(
            data.times().begin(), data.times().end(), [](const ChartTime& a, const ChartTime& b) {
                return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
            });
        if (QDate(low->year, low->month, low->day)
                .daysTo(QDate(high->year, high->month, high->day)) > 36600)
            throw ChartError("the rows span more than a hundred years");
    }
    switch (choice.kind) {
        case ChartKind::Heatmap:
            RequireColumn(data, choice.columns.at(0), "heatmap");
            break;
        case ChartKind::Classes:
            if (!StressIndexFromName(choice.columns.at(0)))
                throw ChartError("classes: " + choice.columns[0] +
                                 " has no stress classes; classes: takes UTCI, PET, PMV or PT");
            RequireColumn(data, choice.columns[0], "classes");
            break;
        case ChartKind::Series: {
            if (choice.columns.empty() || choice.columns.size() > kMaxSeriesColumns)
                throw ChartError("series takes one to four columns");
            std::vector<std::string> units;
            for (const std::string& name : choice.columns) {
                const ChartColumn& c = RequireColumn(data, name, "series");
                if (std::find(units.begin(), units.end(), c.unit) == units.end())
                    units.push_back(c.unit);
            }
            if (units.size() > 2)
                throw ChartError("series: the columns have " + std::to_string(units.size()) +
                                 " different units; one chart shows two at most");
            break;
        }
        case ChartKind::Daily:
            for (const char* name : {"SDmax", "SDact", "GmaxSum", "GactSum"})
                RequireColumn(data, name, "daily");
            break;
    }
}

QImage RenderChartImage(const ChartData& data, const ChartChoice& choice, ChartSize size) {
    Staged staged(data, choice, size);
    QImage image(size.width, size.height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    staged.render(painter);
    painter.end();
    return image;
}

std::string RenderChart(const ChartData& data, const ChartChoice& choice, ChartFormat format,
                        ChartSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (format == ChartFormat::Png) {
        // an opaque picture without alpha keeps the file small
        const QImage image =
            RenderChartImage(data, choice, size).convertToFormat(QImage::Format_RGB32);
        if (!image.save(&buffer, "PNG")) throw ChartError("the chart could not be encoded as PNG");
    } else {
        Staged staged(data, choice, size);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(size.width, size.height));
        svg.setViewBox(QRect(0, 0, size.width, size.height));
        svg.setResolution(96);
        svg.setTitle(staged.title());
        QPainter painter(&svg);
        painter.fillRect(QRect(0, 0, size.width, size.height), Qt::white);
        staged.render(painter);
        painter.end();
        return WithoutEmptyGroups(bytes);
    }
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void SaveChart(const ChartData& data, const ChartChoice& choice, const std::string& path,
               ChartSize size) {
    const auto format = ChartFormatOfPath(path);
    if (!format) throw ChartError("chart file \"" + path + "\": the name must end in .svg or .png");
    const std::string bytes = RenderChart(data, choice, *format, size);
    // a failed write leaves the earlier file as it was
    OutputFile file(path, OutputFile::Mode::Replace);
    file.write(bytes);
    file.close();
}

QWidget* CreateChartView(const ChartData& data, const ChartChoice& choice, QWidget* parent) {
    CheckChart(data, choice);
    EnsureApplication();
    auto* view = new QChartView(BuildChart(data, choice, ChartSize{}), parent);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

}  // namespace umbrix::charts
