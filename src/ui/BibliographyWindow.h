#pragma once
// The bibliography window: the published sources of every index and model of the program.
#include <QWidget>
#include <span>

#include "models/Language.h"

class QTextBrowser;

namespace umbrix::ui {

class Desktop;

struct Source {
    const char* topicEn;  // the index or model
    const char* topicDe;
    const char* citation;
};

// In the order the window lists them.
std::span<const Source> Bibliography();

class BibliographyWindow : public QWidget {
    Q_OBJECT
  public:
    explicit BibliographyWindow(Desktop& desktop);
    void retranslate(Language language);
    QString html() const;

  private:
    QTextBrowser* text_;
};

}  // namespace umbrix::ui
