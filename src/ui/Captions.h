#pragma once
// The caption sets of the windows, one table per language (CaptionsEn.cpp, CaptionsDe.cpp).
// A key is "Form.Name": a control of the window model, or a widget that only the view has (the
// labels beside the fields, group boxes, menu titles); "Form.Name/item" gives the text shown
// for an item of a list or combo box whose item texts the calculation reads, and "Form" the
// window caption where it is not already bilingual.
//
// The window models are built with their English captions. Switching to German writes the
// German captions into the models and remembers the English ones they replace, so that
// switching back restores exactly what the models had. Windows whose models switch their own
// captions (the obstacle editor and its dialogs) are left to them.
#include <QString>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "models/Language.h"

class QWidget;

namespace umbrix {
class ComponentRegistry;
class FormModel;
}  // namespace umbrix

namespace umbrix::ui {

struct CaptionEntry {
    const char* key;
    const char* caption;
    const char* hint = nullptr;  // a tooltip where the control's hint is not bilingual already
};

std::span<const CaptionEntry> EnglishCaptions();
std::span<const CaptionEntry> GermanCaptions();

// The entry for a key in a language; the English one when German has none; null when neither.
const CaptionEntry* FindCaption(Language language, std::string_view key);
// The caption of a view-only widget or window, or `fallback` when no table has one.
QString Caption(Language language, std::string_view key, const QString& fallback = {});
// The shown text of a list or combo item.
QString ItemCaption(Language language, std::string_view form, std::string_view control,
                    const std::string& item);

class CaptionSwitch {
  public:
    // Writes the language's captions into every model of the registry.
    void applyToModels(ComponentRegistry& registry, Language language);
    // Sets the texts of the widgets under the window that no model control shows: labels,
    // group boxes, buttons, menus, actions and the window title where a table names them.
    static void applyToWidgets(QWidget* window, const std::string& form, Language language,
                               const FormModel* model);

  private:
    // English caption and hint of every control the German table replaced, by key.
    std::map<std::string, std::pair<std::string, std::string>> english_;
};

}  // namespace umbrix::ui
