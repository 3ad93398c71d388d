#pragma once
// The program's start and its about box.
#include <QDialog>

#include "models/Language.h"

class QLabel;

namespace umbrix::ui {

class Desktop;

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(Desktop& desktop);
    void retranslate(Language language);

  private:
    QLabel* title_;
    QLabel* text_;
};

// Creates the application and its windows, restores the session, runs the event loop and saves
// the session when the main window closes.
int RunDesktop(int argc, char** argv);

}  // namespace umbrix::ui
