#include "models/Session.h"

namespace umbrix {

void WriteComponents(const FormModel& form, const std::string& section, IniFile& ini) {
    for (const auto& c : form.controls()) {
        if (c->hasText()) ini.writeString(section, c->name, c->text);
        if (c->hasItemIndex()) ini.writeInt(section, c->name, c->itemIndex);
        if (c->hasChecked()) ini.writeBool(section, c->name, c->checked);
    }
}

std::vector<std::string> ReadComponents(FormModel& form, const std::string& section,
                                        const IniFile& ini) {
    std::vector<std::string> problems;
    for (const auto& c : form.controls()) {
        const std::string previousText = c->text;
        if (c->hasText()) c->text = ini.readString(section, c->name, c->text);
        if (c->hasItemIndex()) {
            int index = ini.readInt(section, c->name, c->itemIndex);
            if (index == -1) {
                c->itemIndex = -1;
                if (c->kind == ControlKind::Combo) c->text.clear();
            } else if (index >= 0 && index < int(c->items.size())) {
                c->itemIndex = index;
                if (c->kind == ControlKind::Combo) c->text = c->items[index];
            } else {
                c->text = previousText;  // the key held no usable index: keep the choice
                if (ini.hasKey(section, c->name))
                    problems.push_back(c->name + " \"" + ini.readString(section, c->name, "") +
                                       "\" is no item of the list; it keeps \"" + c->text + "\"");
            }
        }
        if (c->hasChecked()) {
            const bool before = c->checked;
            c->checked = ini.readBool(section, c->name, before);
            if (ini.hasKey(section, c->name) &&
                ini.readBool(section, c->name, !before) != c->checked)
                problems.push_back(c->name + " \"" + ini.readString(section, c->name, "") +
                                   "\" is neither 1 nor 0; it keeps " + (before ? "1" : "0"));
        }
    }
    form.changed();
    return problems;
}

}  // namespace umbrix
