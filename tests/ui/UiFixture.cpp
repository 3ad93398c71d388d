#include "ui/UiFixture.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QUrl>

namespace umbrix::ui::test {

UiFixture::UiFixture(bool useSession, const QString& folder) {
    folder_ = folder.isEmpty() ? scratch_.path() : folder;
    const QString locations = folder_ + "/locations.lst";
    if (!QFile::exists(locations))
        QFile::copy(QString(UMBRIX_SOURCE_DIR) + "/data/locations.lst", locations);
    QFile::setPermissions(locations, QFile::ReadOwner | QFile::WriteOwner);
    host_.clock = ClockTime{2026, 6, 21, 9, 0, 0};
    host_.fileDialogHook = [this](FileDialogOptions& o, bool) -> std::optional<std::string> {
        dialogs.push_back(o);
        if (dialogAnswers.empty()) return std::nullopt;
        auto answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        if (answer) o.fileName = *answer;
        return answer;
    };
    host_.messageHook = [this](const std::string& text, MessageKind, bool, bool withCancel) {
        messages.push_back(text);
        return withCancel ? Answer::Cancel : Answer::No;
    };
    hook_ = host_.messageHook;
    AppSettings settings;
    settings.programDir = folder_.toStdString();
    desktop_ = std::make_unique<Desktop>(host_, settings);
    desktop_->urlOpener = [this](const QUrl& url) {
        openedUrls.push_back(url);
        return true;
    };
    desktop_->start(useSession);
}

UiFixture::~UiFixture() = default;

void UiFixture::clickInNextMessageBox(QMessageBox::StandardButton button, QString* seen,
                                      QStringList* buttons) {
    host_.messageHook = nullptr;
    auto* timer = new QTimer(&watchers_);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [this, timer, button, seen, buttons] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        host_.messageHook = hook_;
        if (seen) *seen = box->text();
        if (buttons) {
            buttons->clear();
            for (QAbstractButton* b : box->buttons()) *buttons << b->text();
        }
        if (qEnvironmentVariableIsSet("UMBRIX_UI_HOLD_MS"))
            QTest::qWait(qEnvironmentVariableIntValue("UMBRIX_UI_HOLD_MS"));
        if (QAbstractButton* b = box->button(button))
            QTest::mouseClick(b, Qt::LeftButton);
        else
            box->reject();  // not the box expected: the test sees it in `seen`
    });
    timer->start();
}

void UiFixture::chooseMenuItem(QMainWindow* window, QAction* item) {
    QMenuBar* bar = window->menuBar();
    for (QAction* title : bar->actions()) {
        QMenu* menu = title->menu();
        if (!menu || !menu->actions().contains(item)) continue;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        return;
    }
    QFAIL("the item is in no menu of the window");
}

void UiFixture::clickCheckBox(QListWidget* list, int row) {
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualItemRect(list->item(row));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = list->item(row)->text();
    const QRect box =
        list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
}

void UiFixture::typeInNextFileDialog(const QString& name) {
    auto hook = std::move(host_.fileDialogHook);
    host_.fileDialogHook = nullptr;
    auto* timer = new QTimer(&watchers_);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [this, timer, name, hook] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        host_.fileDialogHook = hook;
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
        QAbstractButton* open = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
        if (buttons && !open) open = buttons->button(QDialogButtonBox::Save);
        if (!edit || !open) {
            dialog->reject();  // not the dialog expected: the test sees nothing chosen
            return;
        }
        // over a proposed name, as a person replaces it
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, name);
        // Return would go to the name completer's popup: the Open button confirms
        QTest::mouseClick(open, Qt::LeftButton);
    });
    timer->start();
}

void UiFixture::typeOnly(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void UiFixture::leave(QWidget* widget) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &out);
}

void UiFixture::typeAndLeave(QLineEdit* edit, const QString& text) {
    typeOnly(edit, text);
    leave(edit);
}

}  // namespace umbrix::ui::test
