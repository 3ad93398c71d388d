#include "ui/HorizonWindow.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

#include "models/ComponentNames.h"
#include "models/HorizonEditorModel.h"
#include "ui/EditorIcons.h"
#include "ui/Layout.h"
#include "ui/RasterImage.h"
#include "ui/Widgets.h"

namespace umbrix::ui {

using namespace horizon_editor;

namespace {

constexpr int kSize = kHorizonSize;
constexpr int kScaleHeight = 256;

// The fixed grid over the fisheye frame: elevation circles every 10 degrees (every 30 degrees
// stronger) and the directions every 30 degrees, on a transparent ground.
QImage HorizonGrid() {
    QImage grid(kSize, kSize, QImage::Format_ARGB32);
    grid.fill(Qt::transparent);
    QPainter p(&grid);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kHorizonCentre + 0.5, kHorizonCentre + 0.5);
    const QColor weak(0, 70, 170, 90), strong(0, 70, 170, 190);
    for (int elevation = 0; elevation < 90; elevation += 10) {
        const double r = kHorizonRadius * (1 - elevation / 90.0);
        p.setPen(QPen(elevation % 30 == 0 ? strong : weak, 1));
        p.drawEllipse(centre, r, r);
    }
    for (int azimuth = 0; azimuth < 360; azimuth += 30) {
        const double a = azimuth * 3.14159265358979323846 / 180;
        p.setPen(QPen(azimuth % 90 == 0 ? strong : weak, 1));
        p.drawLine(centre, centre + QPointF(std::sin(a), -std::cos(a)) * kHorizonRadius);
    }
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(strong);
    for (int elevation : {30, 60}) {
        const double r = kHorizonRadius * (1 - elevation / 90.0);
        p.drawText(centre + QPointF(3, -r + 11), QString("%1\u00b0").arg(elevation));
    }
    return grid;
}

// The colour scale of a map: the map colour of 1 at the top, of 0 at the bottom.
QImage ColourScale(bool albedo) {
    QImage scale(16, kScaleHeight, QImage::Format_RGB32);
    for (int y = 0; y < kScaleHeight; ++y) {
        const Colour c = albedo ? AlbedoColour(1 - y / 255.0) : EmissionColour(1 - y / 255.0);
        const QRgb rgb = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
        for (int x = 0; x < scale.width(); ++x) scale.setPixel(x, y, rgb);
    }
    return scale;
}

QFrame* Swatch(QWidget* parent, const char* name) {
    auto* swatch = new QFrame(parent);
    swatch->setObjectName(name);
    swatch->setFrameShape(QFrame::Box);
    swatch->setFixedSize(28, 28);
    swatch->setAutoFillBackground(true);
    return swatch;
}

void Paint(QFrame* swatch, Colour c) {
    const QColor colour(RedOf(c), GreenOf(c), BlueOf(c));
    if (swatch->palette().color(QPalette::Window) == colour) return;
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, colour);
    swatch->setPalette(palette);
}

}  // namespace

HorizonWindow::HorizonWindow(HorizonEditorModel& model, Desktop& desktop)
    : FormWindow(model, desktop), editor_(model), grid_(HorizonGrid()) {
    auto step = [this](const char* button) {
        return [this, button] {
            desktop_.act(
                model_, [this, button] { editor_.click(button); }, true);
        };
    };
    undoMenu_ = UndoMenu::Add(this, MenuHorEdit, step(UndoBtn), step(RedoBtn));
    auto* central = new QWidget(this);
    auto* rows = new QVBoxLayout(central);
    rows->addWidget(buildToolBar());
    auto* columns = new QHBoxLayout;

    // the drawing with the four directions around it
    auto* frame = new QGridLayout;
    frame->setSpacing(2);
    image_ = new PictureView(this);
    image_->setObjectName(Image1);
    image_->setFixedSize(kSize, kSize);
    frame->addWidget(NamedLabel(this, LabelNorth), 0, 1, Qt::AlignHCenter);
    frame->addWidget(NamedLabel(this, LabelWest), 1, 0, Qt::AlignVCenter);
    frame->addWidget(image_, 1, 1);
    frame->addWidget(NamedLabel(this, LabelEast), 1, 2, Qt::AlignVCenter);
    frame->addWidget(NamedLabel(this, LabelSouth), 2, 1, Qt::AlignHCenter);
    columns->addLayout(frame);

    // the scale of the map shown: 1 at the top, 0 at the bottom
    scaleColumn_ = new QWidget(this);
    auto* scale = new QVBoxLayout(scaleColumn_);
    scale->addStretch(1);
    scale->addWidget(new QLabel("1", scaleColumn_), 0, Qt::AlignHCenter);
    scale_ = new PictureView(scaleColumn_);
    scale_->setObjectName("ScaleImg");
    scale->addWidget(scale_, 0, Qt::AlignHCenter);
    scale->addWidget(new QLabel("0", scaleColumn_), 0, Qt::AlignHCenter);
    scale->addStretch(1);
    scaleColumn_->hide();
    columns->addWidget(scaleColumn_);

    columns->addWidget(buildSidePanel(), 1);
    rows->addLayout(columns, 1);
    setCentralWidget(central);
    hint_ = new QLabel(this);
    hint_->setObjectName(LabelHint);
    statusBar()->addWidget(hint_, 1);
    bindWidgets();
    connectPointer();
    UndoMenu::PassFieldKeys(this);
}

QWidget* HorizonWindow::buildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName("ToolBarFreihor");
    bar->setIconSize(QSize(20, 20));
    bar->addWidget(IconButton(this, NeuBtn, style()->standardIcon(QStyle::SP_FileIcon)));
    bar->addWidget(
        IconButton(this, OeffnenBtn, style()->standardIcon(QStyle::SP_DialogOpenButton)));
    bar->addWidget(IconButton(this, ImportBtn, DrawnIcon(EditorIcon::Import)));
    bar->addWidget(
        IconButton(this, SpeichernBtn, style()->standardIcon(QStyle::SP_DialogSaveButton)));
    bar->addSeparator();
    bar->addWidget(IconButton(this, UndoBtn, DrawnIcon(EditorIcon::Undo)));
    bar->addWidget(IconButton(this, RedoBtn, DrawnIcon(EditorIcon::Redo)));
    bar->addWidget(IconButton(this, MonoBtn, DrawnIcon(EditorIcon::Monochrome)));
    bar->addSeparator();
    bar->addWidget(IconButton(this, GridBtn, DrawnIcon(EditorIcon::Grid)));
    bar->addWidget(IconButton(this, AlbBtn, DrawnIcon(EditorIcon::Albedo)));
    bar->addWidget(IconButton(this, EmiBtn, DrawnIcon(EditorIcon::Emission)));
    return bar;
}

QWidget* HorizonWindow::buildSidePanel() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);

    QGroupBox* draw = NamedGroup(this, GroupDraw);
    auto* drawGrid = new QGridLayout(draw);
    auto* tools = new QHBoxLayout;
    tools->addWidget(IconButton(this, SpeedButton1, DrawnIcon(EditorIcon::ToEdge)));
    tools->addWidget(IconButton(this, SpeedButton2, DrawnIcon(EditorIcon::NotToEdge)));
    tools->addWidget(IconButton(this, FillBtn, DrawnIcon(EditorIcon::Fill)));
    tools->addStretch(1);
    drawGrid->addLayout(tools, 0, 0, 1, 2);
    auto* brush = new QHBoxLayout;
    brushSwatch_ = Swatch(this, Shape2);
    brush->addWidget(brushSwatch_);
    brush->addWidget(IconButton(this, FillPickBtn, DrawnIcon(EditorIcon::Pipette)));
    brush->addWidget(IconButton(this, SelBtn, DrawnIcon(EditorIcon::Palette)));
    brush->addStretch(1);
    drawGrid->addLayout(brush, 1, 0, 1, 2);
    LabelledField(drawGrid, 2, 0, LabelA, NamedEdit(this, EditA));
    LabelledField(drawGrid, 3, 0, LabelE, NamedEdit(this, EditE));
    column->addWidget(draw);

    QGroupBox* cut = NamedGroup(this, GroupCut);
    auto* cutGrid = new QGridLayout(cut);
    const char* bars[][2] = {
        {TrackBar1, LabelRed}, {TrackBar2, LabelGreen}, {TrackBar3, LabelBlue}};
    for (int i = 0; i < 3; ++i) {
        auto* slider = new QSlider(Qt::Vertical, this);
        slider->setObjectName(bars[i][0]);
        // the top of a track bar is its minimum, which stands for the brightest channel
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
        slider->setMinimumHeight(130);
        cutGrid->addWidget(slider, 0, i, Qt::AlignHCenter);
        cutGrid->addWidget(NamedLabel(this, bars[i][1]), 1, i, Qt::AlignHCenter);
    }
    auto* cutRow = new QHBoxLayout;
    cutSwatch_ = Swatch(this, Shape1);
    cutRow->addWidget(cutSwatch_);
    cutRow->addWidget(IconButton(this, CutPickBtn, DrawnIcon(EditorIcon::Pipette)));
    cutRow->addWidget(IconButton(this, CutBtn, DrawnIcon(EditorIcon::Cut)));
    cutRow->addStretch(1);
    cutGrid->addLayout(cutRow, 2, 0, 1, 3);
    column->addWidget(cut);
    column->addStretch(1);
    return panel;
}

void HorizonWindow::connectPointer() {
    auto pointer = [this](const std::function<void()>& action) {
        desktop_.act(model_, action, false);
    };
    connect(image_, &PictureView::pressed, this, [this, pointer](int x, int y, Qt::MouseButton b) {
        if (b == Qt::LeftButton) pointer([this, x, y] { editor_.pointerPress(x, y); });
    });
    connect(image_, &PictureView::moved, this, [this](int x, int y) { pointerOver(x, y); });
    // the double click's position was added by its first click
    connect(image_, &PictureView::doubleClicked, this, [this, pointer](int x, int y) {
        pointer([this, x, y] { editor_.pointerDoubleClick(x, y); });
    });
}

void HorizonWindow::pointerOver(int x, int y) {
    const PointerFeedback feedback = editor_.pointerMove(x, y);
    switch (feedback.cursor) {
        case PointerCursor::Default:
            image_->unsetCursor();
            break;
        case PointerCursor::Cross:
            image_->setCursor(Qt::CrossCursor);
            break;
        case PointerCursor::Pipette:
            image_->setCursor(PipetteCursor());
            break;
    }
    const QString hint = QString::fromStdString(feedback.hint);
    hint_->setText(hint);
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(image_->mapToGlobal(QPoint(x + 12, y + 12)), hint, image_);
}

QImage HorizonWindow::compose() const {
    QImage view(kSize, kSize, QImage::Format_RGB32);
    view.fill(Qt::white);
    QPainter p(&view);
    const bool gridOnTop = editor_.checked(GridBtn);
    if (!gridOnTop) p.drawImage(0, 0, grid_);
    p.drawImage(0, 0, WhiteTransparent(ToQImage(editor_.displayed())));
    if (gridOnTop) p.drawImage(0, 0, grid_);
    // the polygon being clicked, inverting what lies under it
    const std::vector<Point>& points = editor_.polygon();
    if (!points.empty()) {
        QPolygon line;
        for (const Point& pt : points) line << QPoint(pt.x, pt.y);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 0));
        if (line.size() == 1)
            p.drawPoint(line.front());
        else
            p.drawPolyline(line);
    }
    return view;
}

void HorizonWindow::refreshView() {
    if (!image_) return;  // still being built
    undoMenu_.showState(editor_.enabled(UndoBtn), editor_.enabled(RedoBtn));
    const int layers = (editor_.checked(GridBtn) ? 1 : 0) | (editor_.checked(AlbBtn) ? 2 : 0) |
                       (editor_.checked(EmiBtn) ? 4 : 0);
    if (layers != shownLayers_ || editor_.polygon() != shownPolygon_ ||
        !(editor_.displayed() == shownPicture_)) {
        shownLayers_ = layers;
        shownPolygon_ = editor_.polygon();
        shownPicture_ = editor_.displayed();
        image_->setImage(compose());
        // a map is shown with its colour scale
        const bool albedo = editor_.checked(AlbBtn), emission = editor_.checked(EmiBtn);
        if (albedo || emission) scale_->setImage(ColourScale(albedo));
        scaleColumn_->setVisible(albedo || emission);
        // the hints of the maps' values go with the maps
        if (!albedo && !emission) hint_->clear();
    }
    Paint(brushSwatch_, editor_.brushColour());
    Paint(cutSwatch_, editor_.cutOffColour());
}

}  // namespace umbrix::ui
