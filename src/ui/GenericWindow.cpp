#include "ui/GenericWindow.h"

#include <QFormLayout>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>

#include "ui/FormBinder.h"

namespace umbrix::ui {

GenericWindow::GenericWindow(FormModel& model, Desktop& desktop) : FormWindow(model, desktop) {
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
    setCentralWidget(scroll);
    statusBar();
    resize(480, 560);
    refreshView();
}

}  // namespace umbrix::ui
