#include "platform/FormModel.h"

#include <algorithm>
#include <cctype>

#include "platform/Error.h"
#include "platform/Format.h"

namespace umbrix {

FormModel::FormModel(std::string name, Host& host) : name_(std::move(name)), host_(host) {}
FormModel::~FormModel() = default;

void FormModel::show() {
    visible_ = true;
    changed();
}

void FormModel::hide() {
    visible_ = false;
    changed();
}

Control& FormModel::add(std::string name, ControlKind kind, std::string captionOrText) {
    auto control = std::make_unique<Control>();
    control->name = name;
    control->kind = kind;
    if (kind == ControlKind::Edit || kind == ControlKind::Combo)
        control->text = std::move(captionOrText);
    else
        control->caption = std::move(captionOrText);
    control->autoCheck = kind == ControlKind::CheckBox;
    Control* raw = control.get();
    controls_.push_back(std::move(control));
    byName_[std::move(name)] = raw;
    return *raw;
}

Control* FormModel::find(std::string_view name) {
    auto it = byName_.find(std::string(name));
    return it == byName_.end() ? nullptr : it->second;
}

const Control* FormModel::find(std::string_view name) const {
    auto it = byName_.find(std::string(name));
    return it == byName_.end() ? nullptr : it->second;
}

Control& FormModel::ctl(std::string_view name) {
    if (Control* c = find(name)) return *c;
    throw UmbrixError(name_ + " has no control \"" + std::string(name) + "\"");
}

const Control& FormModel::ctl(std::string_view name) const {
    if (const Control* c = find(name)) return *c;
    throw UmbrixError(name_ + " has no control \"" + std::string(name) + "\"");
}

void FormModel::type(std::string_view name, std::string text) {
    Control& c = ctl(name);
    if (!c.edited) {
        c.textBeforeEdit = c.text;
        c.edited = true;
    }
    c.text = std::move(text);
    c.refused = false;
    onChange(c.name);
    changed(c.name);
}

void FormModel::leave(std::string_view name) {
    Control& c = ctl(name);
    // the next typing starts from what the exit rule leaves, also when it refuses the text
    struct EndEdit {
        Control& c;
        ~EndEdit() { c.edited = false; }
    } endEdit{c};
    // an exit rule that throws has refused the text (and put the previous one back)
    try {
        onExit(c.name);
    } catch (...) {
        c.refused = true;
        changed(c.name);
        throw;
    }
    c.refused = false;
    changed(c.name);
}

std::string FormModel::previousText(std::string_view name, std::string_view fallback) const {
    const Control& c = ctl(name);
    return c.edited ? c.textBeforeEdit : std::string(fallback);
}

void FormModel::typeAndLeave(std::string_view name, std::string text) {
    type(name, std::move(text));
    leave(name);
}

void FormModel::click(std::string_view name) {
    Control& c = ctl(name);
    if (c.autoCheck) c.checked = !c.checked;
    onClick(c.name);
    changed(c.name);
}

void FormModel::select(std::string_view name, int index) {
    Control& c = ctl(name);
    if (index < -1 || index >= static_cast<int>(c.items.size()))
        throw UmbrixError(c.name + ": no item " + std::to_string(index));
    c.itemIndex = index;
    if (c.kind == ControlKind::Combo) c.text = index >= 0 ? c.items[index] : std::string();
    onSelect(c.name);
    changed(c.name);
}

void FormModel::setItemChecked(std::string_view name, int index, bool checked) {
    Control& c = ctl(name);
    if (index < 0 || index >= static_cast<int>(c.items.size()))
        throw UmbrixError(c.name + ": no item " + std::to_string(index));
    c.itemChecked.resize(c.items.size(), false);
    c.itemChecked[index] = checked;
    onItemChecked(c.name, index);
    changed(c.name);
}

void FormModel::moveItem(std::string_view name, int from, int to) {
    Control& c = ctl(name);
    const int n = static_cast<int>(c.items.size());
    if (from < 0 || from >= n || to < 0 || to >= n)
        throw UmbrixError(c.name + ": cannot move item " + std::to_string(from) + " to " +
                          std::to_string(to));
    c.itemChecked.resize(c.items.size(), false);
    std::string item = std::move(c.items[from]);
    bool mark = c.itemChecked[from];
    c.items.erase(c.items.begin() + from);
    c.itemChecked.erase(c.itemChecked.begin() + from);
    c.items.insert(c.items.begin() + to, std::move(item));
    c.itemChecked.insert(c.itemChecked.begin() + to, mark);
    if (c.itemIndex == from) c.itemIndex = to;
    onItemMoved(c.name, from, to);
    changed(c.name);
}

void FormModel::setPosition(std::string_view name, int position) {
    Control& c = ctl(name);
    c.position = std::clamp(position, c.minimum, std::max(c.minimum, c.maximum));
    onChange(c.name);
    changed(c.name);
}

void FormModel::checkExclusive(std::string_view name, const std::vector<std::string>& group) {
    for (const auto& member : group) ctl(member).checked = (member == name);
}

int FormModel::addListener(Listener listener) {
    listeners_.emplace_back(nextListener_, std::move(listener));
    return nextListener_++;
}

void FormModel::removeListener(int id) {
    std::erase_if(listeners_, [id](const auto& l) { return l.first == id; });
}

void FormModel::changed(const std::string& control) {
    // a listener may remove itself while we iterate
    auto copy = listeners_;
    for (auto& [id, listener] : copy) listener(control);
}

// ---------------------------------------------------------------------------

void ComponentRegistry::add(FormModel& form) {
    forms_.push_back(&form);
}

FormModel* ComponentRegistry::form(std::string_view formName) const {
    for (FormModel* f : forms_)
        if (f->name() == formName) return f;
    return nullptr;
}

ComponentRegistry::Found ComponentRegistry::find(std::string_view name) const {
    auto dot = name.find('.');
    if (dot != std::string_view::npos) {
        FormModel* f = form(name.substr(0, dot));
        if (!f) return {};
        Control* c = f->find(name.substr(dot + 1));
        return c ? Found{f, c} : Found{};
    }
    for (FormModel* f : forms_)
        if (Control* c = f->find(name)) return {f, c};
    return {};
}

std::vector<std::string> ComponentRegistry::names() const {
    std::vector<std::string> out;
    for (FormModel* f : forms_)
        for (const auto& c : f->controls()) out.push_back(c->name);
    return out;
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> prev(b.size() + 1), cur(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) prev[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        cur[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t subst =
                prev[j - 1] + (std::tolower(a[i - 1]) == std::tolower(b[j - 1]) ? 0 : 1);
            cur[j] = std::min({prev[j] + 1, cur[j - 1] + 1, subst});
        }
        std::swap(prev, cur);
    }
    return prev[b.size()];
}

std::string ComponentRegistry::nearest(std::string_view name) const {
    return NearestName(name, names());
}

std::string NearestName(std::string_view name, const std::vector<std::string>& candidates) {
    std::string best;
    std::size_t bestDistance = static_cast<std::size_t>(-1);
    for (const auto& candidate : candidates) {
        std::size_t d = EditDistance(name, candidate);
        if (d < bestDistance) {
            bestDistance = d;
            best = candidate;
        }
    }
    return best;
}

void ComponentRegistry::set(std::string_view name, const std::string& value) {
    Found found = find(name);
    if (!found.control) {
        std::string hint =
            nearest(name.substr(name.find('.') == std::string_view::npos ? 0 : name.find('.') + 1));
        throw UmbrixError("unknown component \"" + std::string(name) + "\"" +
                          (hint.empty() ? "" : " (did you mean " + hint + "?)"));
    }
    FormModel& f = *found.form;
    Control& c = *found.control;
    switch (c.kind) {
        case ControlKind::CheckBox:
        case ControlKind::MenuItem:
        case ControlKind::SpeedButton: {
            if (value != "0" && value != "1")
                throw UmbrixError(c.name + " takes 1 or 0, not \"" + value + "\"");
            bool want = value == "1";
            if (c.checked != want) f.click(c.name);
            if (c.checked != want)
                throw UmbrixError(c.name + " cannot be " + (want ? "checked" : "unchecked") +
                                  " now");
            break;
        }
        case ControlKind::Combo:
        case ControlKind::RadioGroup: {
            auto it = std::find(c.items.begin(), c.items.end(), value);
            if (it != c.items.end()) {
                f.select(c.name, static_cast<int>(it - c.items.begin()));
            } else if (c.kind == ControlKind::Combo && !c.readOnly) {
                f.typeAndLeave(c.name, value);
            } else {
                std::string list;
                for (const auto& item : c.items) list += (list.empty() ? "" : ", ") + item;
                throw UmbrixError(c.name + " has no item \"" + value + "\" (items: " + list + ")");
            }
            break;
        }
        case ControlKind::Button:
            f.click(c.name);
            break;
        case ControlKind::UpDown:
        case ControlKind::TrackBar: {
            auto position = parseInt(value);
            if (!position)
                throw UmbrixError(c.name + " takes a whole number, not \"" + value + "\"");
            f.setPosition(c.name, int(*position));
            break;
        }
        default:
            f.typeAndLeave(c.name, value);
    }
}

}  // namespace umbrix
