#include "ui/DetailWindow.h"

#include <QMenuBar>

#include "calc/Memi.h"
#include "ui/Widgets.h"

namespace umbrix::ui {

DetailWindow::DetailWindow(TFormMemi& model, Desktop& desktop)
    : FormWindow(model, desktop), memi_(model) {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("MenuMemiFile");
    for (const char* name : {"SaveAs1", "Close1"}) file->addAction(name)->setObjectName(name);
    text_ = new LinesView(this);
    text_->setObjectName("Memo1");
    setCentralWidget(text_);
    resize(900, 300);
    bindWidgets();
}

void DetailWindow::refreshView() {
    text_->showLines(memi_.lines());
}

}  // namespace umbrix::ui
