#pragma once
// Hints and most window captions carry both languages, "English - Deutsch". The models and the
// files keep that text whole; the screen shows only the half of the interface language.
#include <QString>
#include <string>

#include "models/Language.h"

namespace umbrix::ui {

// The half of a bilingual text for the language: up to the first " - " in English, after it in
// German; a text without that separator, or with an empty half, is shown whole.
QString BilingualPart(const std::string& text, Language language);

// A window caption: bilingual unless it starts with the program's name (the main window, and a
// window that shows a file after it); the program's name after a bilingual caption stays.
QString WindowTitle(const std::string& caption, Language language);

}  // namespace umbrix::ui
