#include "ui/DetailWindow.h"

#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <utility>

#include "models/ComponentNames.h"
#include "models/DetailTableModel.h"
#include "ui/Widgets.h"

namespace umbrix::ui {

using namespace detail_table;

DetailWindow::DetailWindow(DetailTableModel& model, Desktop& desktop)
    : FormWindow(model, desktop), model_(model) {
    bilingualTitle_ = false;  // the names of its two models
    showTitle();
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName(MenuMemiFile);
    for (const auto& [name, key] :
         {std::pair{SaveAs1, QKeySequence::Save}, std::pair{Close1, QKeySequence::Close}}) {
        QAction* a = file->addAction(name);
        a->setObjectName(name);
        a->setShortcut(key);
    }
    text_ = new LinesView(this);
    text_->setObjectName(Memo1);
    setCentralWidget(text_);
    resize(900, 300);
    bindWidgets();
}

void DetailWindow::refreshView() {
    text_->showLines(model_.lines());
    // it opens as wide as its table, as far as the screen allows
    if (!isVisible() && text_->contentWidth() > 0 && screen()) {
        const int wanted =
            text_->contentWidth() + text_->verticalScrollBar()->sizeHint().width() + 24;
        resize(std::min(std::max(width(), wanted), screen()->availableGeometry().width()),
               height());
    }
}

}  // namespace umbrix::ui
