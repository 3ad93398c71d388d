#include "ui/DiagramWindow.h"

#include <QActionGroup>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "models/ComponentNames.h"
#include "models/MainWindowModel.h"
#include "models/OutputWindowModel.h"
#include "models/TableWriter.h"
#include "ui/ChartsPage.h"
#include "ui/DiagramExport.h"
#include "ui/Layout.h"
#include "ui/MapView.h"
#include "ui/OutputTable.h"
#include "ui/Widgets.h"
#include "ui/WindowPlacement.h"

namespace umbrix::ui {

using namespace output_window;

namespace {
// the least size of the window that shows the charts: their controls in one row, the
// German legends of the daily chart unshortened
constexpr int kChartsWidth = 1180;
constexpr int kChartsHeight = 600;
}  // namespace

DiagramWindow::DiagramWindow(OutputWindowModel& model, Desktop& desktop)
    : FormWindow(model, desktop), map_(model) {
    buildMenus();
    buildToolBar();
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(ImageSun);
    picture_ = new PictureView(scroll_);
    picture_->setObjectName("ImageSunPicture");
    // the diagram is drawn by Qt and follows the window's size
    picture_->setSmooth(true);
    scroll_->setWidget(picture_);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(scroll_, 1);
    text_ = new LinesView(this);
    text_->setObjectName(RichEdit1);
    column->addWidget(text_, 1);
    table_ = new OutputTableView(this);
    table_->setObjectName(output_window::TableView);
    table_->hide();
    column->addWidget(table_, 1);
    pages_ = new QStackedWidget(this);
    pages_->addWidget(central);
    mapView_ = new MapView(desktop.app(), pages_);
    mapView_->setObjectName(output_window::MapView);
    pages_->addWidget(mapView_);
    charts_ = new ChartsPage(desktop.app(), pages_);
    charts_->setObjectName(output_window::ChartsPage);
    // the charts' row of controls must not hold the text and picture views to its width: the
    // window grows when the charts are shown
    charts_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    pages_->addWidget(charts_);
    setCentralWidget(pages_);
    bindWidgets();
}

void DiagramWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName(MenuMapFile);
    struct Item {
        const char* name;
        QKeySequence keys;
    };
    for (const Item& item : {Item{Open1, QKeySequence::Open}, Item{SaveAs1, QKeySequence::Save},
                             Item{Print1, QKeySequence::Print}}) {
        QAction* a = file->addAction(item.name);
        a->setObjectName(item.name);
        a->setShortcut(item.keys);
    }
    AddDiagramExport(*this, *file, desktop_, [this] { return picture_; });
    file->addSeparator();
    QAction* close = file->addAction(Close1);
    close->setObjectName(Close1);
    // Ctrl+X is Cut everywhere else; closing a window has its own key
    close->setShortcut(QKeySequence::Close);

    // the model's "View1" item is the menu itself: enabling it enables the menu
    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName(MenuMapView);
    view->menuAction()->setObjectName(View1);
    for (const char* name : {ZoomIn1, ZoomOut1}) view->addAction(name)->setObjectName(name);
    view->addSeparator();
    auto* modes = new QActionGroup(this);
    modes->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const char* name : {SunOrbit1, Reflected1, Thermal1}) {
        QAction* a = view->addAction(name);
        a->setObjectName(name);
        modes->addAction(a);
    }
}

namespace {

// Small drawn icons for the buttons that have no standard one.
QIcon drawnIcon(const char* kind) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (std::string(kind) == "grid") {
        p.setPen(QPen(Qt::darkGray, 1));
        p.drawEllipse(1, 1, 14, 14);
        p.drawLine(8, 1, 8, 15);
        p.drawLine(1, 8, 15, 8);
    } else {  // the sun on its orbit
        p.setPen(QPen(QColor(40, 40, 160), 1.5));
        p.drawArc(QRectF(1, 4, 14, 14), 0, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 190, 0));
        p.drawEllipse(QPointF(11.5, 5.5), 3.5, 3.5);
    }
    return QIcon(pixmap);
}

}  // namespace

void DiagramWindow::buildToolBar() {
    tools_ = addToolBar(ToolBar1);
    tools_->setObjectName(ToolBar1);
    tools_->setMovable(false);
    tools_->setIconSize(QSize(16, 16));
    auto button = [this](const char* name, const QIcon& icon, const char* text = "") {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        if (!icon.isNull()) {
            b->setIcon(icon);
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        } else {
            b->setText(text);
            b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        }
        tools_->addWidget(b);
        return b;
    };
    button(OpenBtn, style()->standardIcon(QStyle::SP_DialogOpenButton));
    button(SaveBtn, style()->standardIcon(QStyle::SP_DialogSaveButton));
    button(PrintBtn, style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    tools_->addSeparator();
    button(ZoomInBtn, {}, "+");
    button(ZoomOutBtn, {}, "\u2212");
    tools_->addSeparator();
    button(GridBtn, drawnIcon("grid"));
    button(SunOrbitBtn, drawnIcon("sun"));
    button(RBtn, {});
    button(EBtn, {});
    tools_->addSeparator();
    // label, edit and arrows of the time and of its increment
    auto stepper = [this](const char* label, const char* edit, const char* upDown, int width) {
        tools_->addWidget(NamedLabel(this, label));
        QLineEdit* field = NamedEdit(this, edit);
        field->setFixedWidth(width);
        tools_->addWidget(field);
        auto* arrows = new UpDownWidget(this);
        arrows->setObjectName(upDown);
        tools_->addWidget(arrows);
    };
    stepper(Label1, EditTime, UpDown1, 56);
    tools_->addSeparator();
    stepper(Label2, EditInc, UpDown2, 40);
    tools_->addSeparator();
    // the map view in place of the picture and text views, in every output mode
    QToolButton* map = button(MapBtn, {}, "Map");
    map->setCheckable(true);
    connect(map, &QToolButton::toggled, this, [this](bool on) {
        pages_->setCurrentIndex(on ? 1 : 0);
        if (on) GrowWindow(*this, QSize(800, 820), desktop_.mainWindow());
    });
    // the charts of the last data table or daily data, likewise
    QToolButton* charts = button(ChartsBtn, {}, "Charts");
    charts->setCheckable(true);
    connect(charts, &QToolButton::toggled, this, [this, map](bool on) {
        if (on) {
            map->setChecked(false);
            pages_->setCurrentWidget(charts_);
            GrowWindow(*this, QSize(kChartsWidth, kChartsHeight), desktop_.mainWindow());
        } else if (pages_->currentWidget() == charts_) {
            pages_->setCurrentIndex(0);
        }
    });
    connect(map, &QToolButton::toggled, charts, [charts](bool on) {
        if (on) charts->setChecked(false);
    });
    // the table as a table view, in place of the text view
    tableButton_ = button(TableViewBtn, {}, "Table");
    tableButton_->setCheckable(true);
    connect(tableButton_, &QToolButton::toggled, this, [this] { refreshView(); });
}

namespace {

// Why a table field has no value: a missing input of the row, or inputs outside the range
// where the column's index is defined.
QString MissingReason(bool german, const QStringList& names, const QStringList& row, int column) {
    static const QStringList inputs = {"Ta", "VP", "RH", "v", "C", "Tmrt", "Ts", "Gact", "Dact"};
    const QString name = names.value(column).trimmed();
    if (inputs.contains(name))
        return german ? QString("%1: kein Wert in den Eingaben (Fehlwert)").arg(name)
                      : QString("%1: no value in the input (missing value)").arg(name);
    // the given quantities a row cannot do without (VP and RH follow from each other)
    static const QStringList given = {"Ta", "VP", "RH", "v", "C"};
    QStringList missing;
    for (int i = 0; i < names.size() && i < row.size(); ++i)
        if (i != column && given.contains(names[i].trimmed()) && row[i] == row[column])
            missing << names[i].trimmed();
    if (!missing.isEmpty())
        return german ? QString("%1: kein Wert, fehlende Eingabe: %2").arg(name, missing.join(", "))
                      : QString("%1: no value, missing input: %2").arg(name, missing.join(", "));
    if (name == "UTCI")
        return german ? QString::fromUtf8(
                            "UTCI: kein Wert, die Eingaben liegen au\u00dferhalb "
                            "des Bereichs von UTCI (Ta \u221250 bis 50 \u00b0C, Wind "
                            "in 10 m 0,5 bis 17 m/s, Tmrt \u2212 Ta \u221230 bis "
                            "70 K, VP bis 50 hPa)")
                      : QString::fromUtf8(
                            "UTCI: no value, the inputs lie outside the range of "
                            "UTCI (Ta \u221250 to 50 \u00b0C, wind at 10 m 0.5 to "
                            "17 m/s, Tmrt \u2212 Ta \u221230 to 70 K, VP up to 50 "
                            "hPa)");
    return german ? QString::fromUtf8(
                        "%1: kein Wert, die Eingaben liegen au\u00dferhalb des "
                        "Bereichs, in dem %1 definiert ist")
                        .arg(name)
                  : QString("%1: no value, the inputs lie outside the range where %1 is defined")
                        .arg(name);
}

}  // namespace

void DiagramWindow::refreshView() {
    const Control& image = map_.ctl(ImageSun);
    picture_->showPicture(map_.screenPicture(), image.image);
    Application& app = desktop_.app();
    const auto reason = [&app](const QStringList& names, const QStringList& row, int column) {
        return MissingReason(app.language() == Language::German, names, row, column);
    };
    text_->markMissing(app.mainWindow().missingValue, reason);
    table_->tableModel()->setMissingReason(reason);
    text_->showLines(map_.lines());
    const bool german = app.language() == Language::German;
    tableButton_->setText(tableButton_->isChecked() ? "Text" : german ? "Tabelle" : "Table");
    tableButton_->setEnabled(map_.ctl(RichEdit1).visible);
    const bool table = map_.ctl(RichEdit1).visible && tableButton_->isChecked();
    if (table) table_->show(map_.tableValues());
    table_->setVisible(table);
    text_->setVisible(map_.ctl(RichEdit1).visible && !table);
    // The model gives the client area: 600 by 501 below the toolbar for the text view, the
    // picture's size for the picture view. The window is never narrower than its toolbar, and a
    // table wider than 600 opens as wide as it is, as far as the screen allows.
    const bool textView = map_.ctl(RichEdit1).visible;
    QSize client(map_.clientWidth, map_.clientHeight - OutputWindowModel::kToolbarHeight);
    if (textView && screen()) {
        const int table =
            text_->contentWidth() + text_->verticalScrollBar()->sizeHint().width() + 16;
        client.setWidth(
            std::max(client.width(), std::min(table, screen()->availableGeometry().width() - 40)));
    }
    // the model's size when the window opens or changes between picture and text; a new table
    // keeps the size the user gave the window
    if (client != clientShown_ && (!isVisible() || textView != textShown_)) {
        clientShown_ = client;
        textShown_ = textView;
        const int chrome = menuBar()->sizeHint().height() + tools_->sizeHint().height();
        resize(std::max(client.width() + 4, tools_->sizeHint().width()),
               client.height() + 4 + chrome);
    }
    if (charts_->isVisible()) {
        // a new run's table does not shrink the charts
        GrowWindow(*this, QSize(kChartsWidth, kChartsHeight), desktop_.mainWindow());
        charts_->refresh();
    }
}

}  // namespace umbrix::ui
