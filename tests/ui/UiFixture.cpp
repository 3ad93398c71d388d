#include "ui/UiFixture.h"

#include <QFile>
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
