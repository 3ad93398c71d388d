#include "ui/GenericWindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QStatusBar>

#include "horizon/EditObs.h"
#include "horizon/Freihor.h"
#include "horizon/Topo.h"
#include "ui/RasterImage.h"
#include "ui/Widgets.h"

namespace umbrix::ui {

namespace {

MouseButton buttonOf(Qt::MouseButton b) {
    return b == Qt::RightButton ? MouseButton::Right : MouseButton::Left;
}

}  // namespace

std::optional<EditorCanvas> CanvasOf(FormModel& model, QWidget* window) {
    if (auto* obs = dynamic_cast<TFormObs*>(&model)) {
        return EditorCanvas{
            [obs] { return ToQImage(obs->composedView()); },
            [obs](int x, int y, Qt::MouseButton b) { obs->mouseDown(x, y, buttonOf(b)); },
            [obs](int x, int y) { obs->mouseMove(x, y); },
            [obs](int x, int y, Qt::MouseButton b) { obs->mouseUp(x, y, buttonOf(b)); },
            [obs](int, int) { obs->doubleClick(); }};
    }
    if (auto* drawing = dynamic_cast<TFormFreihor*>(&model)) {
        return EditorCanvas{
            [drawing] {
                QImage image = ToQImage(drawing->displayed());
                // the polygon being drawn, as a preview line
                const auto& points = drawing->polygon();
                if (points.size() > 1) {
                    QPainter p(&image);
                    p.setPen(QPen(Qt::red, 1));
                    for (std::size_t i = 1; i < points.size(); ++i)
                        p.drawLine(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
                }
                return image;
            },
            [drawing](int x, int y, Qt::MouseButton) { drawing->pointerPress(x, y); },
            [drawing, window](int x, int y) {
                const PointerFeedback f = drawing->pointerMove(x, y);
                window->setCursor(f.cursor == PointerCursor::Cross     ? Qt::CrossCursor
                                  : f.cursor == PointerCursor::Pipette ? Qt::PointingHandCursor
                                                                       : Qt::ArrowCursor);
                if (auto* main = qobject_cast<QMainWindow*>(window))
                    main->statusBar()->showMessage(QString::fromStdString(f.hint));
            },
            [drawing](int x, int y, Qt::MouseButton) { drawing->pointerRelease(x, y); },
            [drawing](int x, int y) { drawing->pointerDoubleClick(x, y); }};
    }
    if (auto* topo = dynamic_cast<TFormTopo*>(&model)) {
        return EditorCanvas{[topo] { return ToQImage(topo->map()); },
                            [topo](int x, int y, Qt::MouseButton) { topo->mapClick(x, y); },
                            [topo](int x, int y) { topo->mapMove(x, y); },
                            [](int, int, Qt::MouseButton) {},
                            [topo](int x, int y) { topo->mapDoubleClick(x, y); }};
    }
    return std::nullopt;
}

GenericWindow::GenericWindow(FormModel& model, Desktop& desktop) : FormWindow(model, desktop) {
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    canvas_ = CanvasOf(model, this);
    if (canvas_) {
        canvasView_ = new PictureView(this);
        canvasView_->setObjectName("EditorCanvas");
        row->addWidget(canvasView_, 0, Qt::AlignTop);
        auto forward = [this](std::function<void()> f, bool commit) {
            desktop_.act(model_, f, commit);
        };
        connect(canvasView_, &PictureView::pressed, this,
                [this, forward](int x, int y, Qt::MouseButton b) {
                    forward([this, x, y, b] { canvas_->press(x, y, b); }, true);
                });
        connect(canvasView_, &PictureView::moved, this, [this, forward](int x, int y) {
            forward([this, x, y] { canvas_->move(x, y); }, false);
        });
        connect(canvasView_, &PictureView::released, this,
                [this, forward](int x, int y, Qt::MouseButton b) {
                    forward([this, x, y, b] { canvas_->release(x, y, b); }, false);
                });
        connect(canvasView_, &PictureView::doubleClicked, this, [this, forward](int x, int y) {
            forward([this, x, y] { canvas_->doubleClick(x, y); }, true);
        });
    }
    auto* scroll = new QScrollArea(this);
    auto* body = new QWidget(scroll);
    auto* form = new QFormLayout(body);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    bool hasMenu = false;
    for (const auto& c : model.controls()) hasMenu = hasMenu || c->kind == ControlKind::MenuItem;
    QMenu* menu = nullptr;
    if (hasMenu) {
        menu = menuBar()->addMenu("&File");
        menu->setObjectName("MenuGeneric");
    }
    bindWidgets();
    binder_->createMissing(form, menu);
    scroll->setWidget(body);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(420);
    row->addWidget(scroll, 1);
    setCentralWidget(central);
    statusBar();
    resize(canvas_ ? 960 : 480, canvas_ ? 620 : 560);
    refreshView();
}

void GenericWindow::refreshView() {
    // the editors' pictures are redrawn only where they can be seen
    if (canvas_ && canvasView_ && (isVisible() || canvasView_->image().isNull()))
        canvasView_->setImage(canvas_->picture());
}

}  // namespace umbrix::ui
