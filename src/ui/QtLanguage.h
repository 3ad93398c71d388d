#pragma once
// Qt's own texts (the buttons of message boxes, the file, print and colour dialogs) in the
// interface language, from the Qt translations the system installs.
#include <QString>
#include <memory>

#include "models/Language.h"

class QTranslator;

namespace umbrix::ui {

class QtLanguage {
  public:
    QtLanguage();
    ~QtLanguage();
    QtLanguage(const QtLanguage&) = delete;
    QtLanguage& operator=(const QtLanguage&) = delete;

    // Installs the translation of Qt's texts for the language, or removes it for English.
    // False when the language's translation file is not installed (Qt's texts stay English).
    bool apply(Language language);

    // Where Qt's German translation is looked for.
    static QString germanFile();

  private:
    std::unique_ptr<QTranslator> translator_;
};

}  // namespace umbrix::ui
