#include "ui/MapView.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>
#include <thread>

#include "maps/MapFiles.h"
#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/MainWindowModel.h"
#include "ui/Captions.h"
#include "ui/RasterImage.h"
#include "ui/Widgets.h"
#include "umbrix/thread_pool.h"

namespace umbrix::ui {

namespace {
// The quantities the view computes; the combo shows one of them at a time.
constexpr const char* kQuantities = "Tmrt,PET,UTCI,SVF,sun";
}  // namespace

MapView::MapView(Application& app, QWidget* parent) : QWidget(parent), app_(app) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    auto* quantityLabel = new QLabel("Quantity:", this);
    quantityLabel->setObjectName(output_window::MapQuantityLabel);
    row->addWidget(quantityLabel);
    quantity_ = new QComboBox(this);
    quantity_->setObjectName(output_window::MapQuantity);
    for (const MapBand& band : ParseMapBands(kQuantities))
        quantity_->addItem(QString::fromStdString(band.name));
    row->addWidget(quantity_);
    auto* cellLabel = new QLabel("Cell (m):", this);
    cellLabel->setObjectName(output_window::MapCellLabel);
    row->addWidget(cellLabel);
    cell_ = new QLineEdit("1", this);
    cell_->setObjectName(output_window::MapCell);
    cell_->setFixedWidth(50);
    row->addWidget(cell_);
    compute_ = new QPushButton("Compute map", this);
    compute_->setObjectName(output_window::MapComputeBtn);
    row->addWidget(compute_);
    row->addStretch(1);
    column->addLayout(row);
    auto* scroll = new QScrollArea(this);
    picture_ = new PictureView(scroll);
    picture_->setObjectName(output_window::MapPicture);
    scroll->setWidget(picture_);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(scroll, 1);
    hint_ = new QLabel(this);
    hint_->setObjectName(output_window::MapHint);
    hint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(hint_);

    connect(compute_, &QPushButton::clicked, this, &MapView::compute);
    connect(cell_, &QLineEdit::returnPressed, this, &MapView::compute);
    connect(quantity_, &QComboBox::currentIndexChanged, this, &MapView::showQuantity);
    connect(picture_, &PictureView::moved, this, &MapView::pointerAt);
}

bool MapView::german() const {
    return app_.language() == Language::German;
}

QString MapView::hintText() const {
    return hint_->text();
}

void MapView::compute() {
    MapRequest request;
    request.quantities = kQuantities;
    bool ok = false;
    request.cell = cell_->text().replace(',', '.').toDouble(&ok);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    compute_->setEnabled(false);  // the run lets events through for its progress
    try {
        if (!ok || !(request.cell > 0)) throw std::invalid_argument("cell");
        batch::ThreadPool pool(std::max(1u, std::thread::hardware_concurrency()));
        outcome_ = app_.mainWindow().computeMap(request, &pool);
        hint_->clear();
    } catch (const std::exception& e) {
        outcome_.reset();
        picture_->setImage({});
        const bool cell = std::string(e.what()) == "cell";
        hint_->setText(cell ? (german() ? "Die Zellgröße ist eine Zahl über 0 (Meter)."
                                        : "The cell size is a number above 0 (metres).")
                            : QString::fromUtf8(e.what()));
    }
    compute_->setEnabled(true);
    QApplication::restoreOverrideCursor();
    showQuantity();
}

void MapView::showQuantity() {
    if (!outcome_) return;
    const std::size_t layer = std::size_t(std::max(0, quantity_->currentIndex()));
    MapResult one = outcome_->map;
    one.layers = {outcome_->map.layers.at(layer)};
    maps::MapLabels labels;
    labels.title = outcome_->when;
    labels.german = german();
    picture_->setImage(ToQImage(maps::DrawMapPicture(one, 0, outcome_->scene, labels).rasterize()));
    picture_->resize(picture_->sizeHint());
}

void MapView::pointerAt(int x, int y) {
    if (!outcome_) return;
    const MapResult& map = outcome_->map;
    const auto cell = maps::CellAt(map, x, y);
    if (!cell) {
        hint_->clear();
        QToolTip::hideText();
        return;
    }
    const QString text =
        QString::fromStdString(maps::DescribeCell(map, (*cell)[0], (*cell)[1], german()));
    hint_->setText(text);
    QToolTip::showText(picture_->mapToGlobal(QPoint(x, y)), text, picture_);
}

}  // namespace umbrix::ui
