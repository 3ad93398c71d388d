#pragma once
// Session files: the state of a window's components saved and restored by component name in
// one INI section named after the window.
#include <string>
#include <vector>

#include "platform/FormModel.h"
#include "platform/IniFile.h"

namespace umbrix {

// For every component in creation order: "Text" (string), "ItemIndex" (integer, under the
// same key, so a combo box's key ends up holding its item index) and "Checked" (1/0).
void WriteComponents(const FormModel& form, const std::string& section, IniFile& ini);

// The mirror image; a missing key keeps the current value. An item index outside the list
// is ignored; -1 clears a combo box's choice and text. Handlers do not run. Returns what was
// not restored and why (an item index outside the list, a check state that is neither 1 nor
// 0), one text per value.
std::vector<std::string> ReadComponents(FormModel& form, const std::string& section,
                                        const IniFile& ini);

}  // namespace umbrix
