#include "models/PresettingsModel.h"

#include <cctype>

#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/MainWindowModel.h"
#include "models/RangeMessages.h"
#include "platform/Format.h"

namespace umbrix {

using namespace presettings;

namespace {
const char* const kEdits[] = {EditBowen,   EditAlbedo,   EditAlbHum, EditTrb,
                              EditDGratio, EditFoglimit, EditODate,  EditOTime};

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The first character that is not a letter is the separator of a date or time format.
std::optional<char> separatorOf(const std::string& format) {
    for (char c : format)
        if (!isAsciiLetter(c)) return c;
    return std::nullopt;
}
}  // namespace

PresettingsModel::PresettingsModel(Application& app)
    : FormModel(presettings::kForm, app.host()), app_(app) {
    caption = "Pre-settings - Vorgaben";
    add(EditBowen, ControlKind::Edit, "1.00");
    add(EditAlbedo, ControlKind::Edit, "0.20");
    add(EditAlbHum, ControlKind::Edit, "0.30");
    add(EditTrb, ControlKind::Edit, "auto");
    add(EditDGratio, ControlKind::Edit, "auto");
    add(EditFoglimit, ControlKind::Edit, "90");
    add(EditODate, ControlKind::Edit, "d.m.yyyy");
    add(EditOTime, ControlKind::Edit, "h:mm");
    add(RedGChk, ControlKind::CheckBox, "Reduction of G presetting by obstacles");
    add(ChkNow, ControlKind::CheckBox, "Set current date/time on start-up").checked = true;
    add(TmrtHorizontalChk, ControlKind::CheckBox,
        "Tmrt from horizontal direct radiation (earlier versions)");
    add(SetSedentaryChk, ControlKind::CheckBox,
        "SET* with the sedentary standard environment (earlier versions)");
    add(OKBtn, ControlKind::Button, "OK");
    add(CancelBtn, ControlKind::Button, "Cancel");
    add(ApplyBtn, ControlKind::Button, "Apply");
}

void PresettingsModel::apply() {
    // every field is checked; the refusals are reported together
    std::string refusals;
    for (const char* name : kEdits) {
        try {
            leave(name);
        } catch (const RangeError& e) {
            refusals += (refusals.empty() ? "" : "\n") + std::string(e.what());
        }
    }
    if (!refusals.empty()) throw RangeError(refusals);
}

void PresettingsModel::refuseOutside(const std::string& name, Quantity quantity, double value,
                                     const std::string& previous) {
    if (InRange(quantity, value)) return;
    Control& c = ctl(name);
    const std::string typed(TrimBlanks(c.text));
    c.text = previous;
    changed(name);
    throw RangeError(OutOfRangeText(quantity, name, typed, app_.language()) +
                     FieldKeepsText(previous, app_.language()));
}

void PresettingsModel::onClick(const std::string& name) {
    if (name == ApplyBtn) apply();
    if (name == OKBtn) {
        apply();  // a refusal keeps the window open
        hide();
    }
    if (name == CancelBtn) {
        restoreOpened();
        hide();
    }
}

void PresettingsModel::show() {
    if (!isVisible()) {
        Opened o{{}, {}, bowen, albedo, turbidity, dgRatio, fogLimit, app_.format()};
        for (const auto& c : controls()) {
            if (c->kind == ControlKind::Edit) o.texts.emplace_back(c->name, c->text);
            if (c->kind == ControlKind::CheckBox) o.checks.emplace_back(c->name, c->checked);
        }
        opened_ = std::move(o);
    }
    FormModel::show();
}

void PresettingsModel::restoreOpened() {
    if (!opened_) return;
    for (const auto& [name, text] : opened_->texts) ctl(name).text = text;
    for (const auto& [name, checked] : opened_->checks) ctl(name).checked = checked;
    bowen = opened_->bowen;
    albedo = opened_->albedo;
    turbidity = opened_->turbidity;
    dgRatio = opened_->dgRatio;
    fogLimit = opened_->fogLimit;
    app_.format() = opened_->format;
    app_.mainWindow().rewriteDateField();
    app_.mainWindow().rewriteTimeField();
    changed();
}

// A number outside its physical range, or letters where a number belongs, are refused with a
// message, and the field keeps its value; an empty field falls back to the default.
void PresettingsModel::onExit(const std::string& name) {
    Control& c = ctl(name);
    auto value = parseReal(c.text, true);
    auto shown = [](float x) { return x < 0 ? std::string("auto") : fixed(x, 4, 2); };
    auto readable = [&](Quantity quantity, const std::string& previous) {
        const std::string typed(TrimBlanks(c.text));
        if (value || typed.empty()) return;
        c.text = previous;
        changed(name);
        throw RangeError(NotANumberText(quantity, name, typed, app_.language()) +
                         FieldKeepsText(previous, app_.language()));
    };
    if (name == EditBowen) {
        readable(Quantity::BowenRatio, fixed(bowen, 4, 2));
        if (value) refuseOutside(name, Quantity::BowenRatio, *value, fixed(bowen, 4, 2));
        bowen = value ? float(*value) : 1.0f;
        c.text = fixed(bowen, 4, 2);
    } else if (name == EditAlbedo) {
        readable(Quantity::Albedo, fixed(albedo, 4, 2));
        if (value) refuseOutside(name, Quantity::Albedo, *value, fixed(albedo, 4, 2));
        albedo = value ? float(*value) : 0.3f;
        c.text = fixed(albedo, 4, 2);
    } else if (name == EditAlbHum) {
        readable(Quantity::Albedo, previousText(name, "0.30"));
        if (value) refuseOutside(name, Quantity::Albedo, *value, previousText(name, "0.30"));
        c.text = fixed(value ? float(*value) : 0.3f, 4, 2);
    } else if (name == EditTrb) {
        // a negative turbidity means automatic
        if (value && *value >= 0) {
            refuseOutside(name, Quantity::LinkeTurbidity, *value, shown(turbidity));
            turbidity = float(*value);
            c.text = fixed(turbidity, 4, 2);
        } else {
            turbidity = -1.0f;
            c.text = "auto";
        }
    } else if (name == EditDGratio) {
        if (value && *value >= 0) {
            refuseOutside(name, Quantity::DiffuseGlobalRatio, *value, shown(dgRatio));
            dgRatio = float(*value);
            c.text = fixed(dgRatio, 4, 2);
        } else {
            dgRatio = -1.0f;
            c.text = "auto";
        }
    } else if (name == EditFoglimit) {
        readable(Quantity::FogLimit, fixed(fogLimit, 4, 1));
        if (value) refuseOutside(name, Quantity::FogLimit, *value, fixed(fogLimit, 4, 1));
        if (value) fogLimit = float(*value);
        c.text = fixed(fogLimit, 4, 1);
    } else if (name == EditODate) {
        leaveDateFormat();
    } else if (name == EditOTime) {
        leaveTimeFormat();
    }
}

void PresettingsModel::leaveDateFormat() {
    FormatSettings& fs = app_.format();
    const FormatSettings previous = fs;
    std::string format = text(EditODate);
    for (char& c : format) {
        if (c == 't' || c == 'T') c = 'd';
        if (c == 'j' || c == 'J') c = 'y';
    }
    if (IsUsableDateFormat(format)) {
        fs.shortDateFormat = format;
        if (auto sep = separatorOf(format)) fs.dateSeparator = *sep;
    } else {
        fs = previous;
    }
    app_.mainWindow().rewriteDateField();
    ctl(EditODate).text = fs.shortDateFormat;
}

void PresettingsModel::leaveTimeFormat() {
    FormatSettings& fs = app_.format();
    const FormatSettings previous = fs;
    std::string format = text(EditOTime);
    for (char& c : format)
        if (c == 'm' || c == 'M') c = 'n';
    if (IsUsableTimeFormat(format)) {
        fs.longTimeFormat = format;
        if (auto sep = separatorOf(format)) fs.timeSeparator = *sep;
    } else {
        fs = previous;
    }
    app_.mainWindow().rewriteTimeField();
    std::string shown = fs.longTimeFormat;
    for (char& c : shown)
        if (c == 'n') c = 'm';
    ctl(EditOTime).text = shown;
}

}  // namespace umbrix
