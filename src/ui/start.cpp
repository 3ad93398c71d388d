#include "ui/start.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "models/TableWriter.h"
#include "ui/AppIcon.h"
#include "ui/Captions.h"
#include "ui/Desktop.h"

namespace umbrix::ui {

AboutBox::AboutBox(Desktop&) : QDialog(nullptr) {
    setObjectName("AboutBox");
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    title_->setObjectName("ProductName");
    QFont big = title_->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title_->setFont(big);
    text_ = new QLabel(this);
    text_->setObjectName("Comments");
    text_->setWordWrap(true);
    text_->setMinimumWidth(380);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName("OKButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(title_);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    retranslate(Language::English);
}

void AboutBox::retranslate(Language language) {
    setWindowTitle(Caption(language, "AboutBox", "About"));
    title_->setText(QString::fromUtf8(kProgramTitle));
    text_->setText(Caption(language, "AboutBox.Comments"));
}

int RunDesktop(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Umbrix");
    QApplication::setWindowIcon(ApplicationIcon());
    QtHost host;
    AppSettings settings;
    settings.programDir = QCoreApplication::applicationDirPath().toStdString();
    Desktop desktop(host, settings);
    desktop.start(true);
    const int status = QApplication::exec();
    desktop.end();  // when the loop ended without the main window closing
    return status;
}

}  // namespace umbrix::ui
