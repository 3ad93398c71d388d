#include "series/Wertedat.h"

#include "calc/Application.h"
#include "calc/Geodat.h"

namespace umbrix {

const std::vector<std::string>& TFormWerte::ColumnItems() {
    static const std::vector<std::string> items = {
        "Enumerator/tag",
        "Date",
        "Day of year",
        "Time",
        "Geogr. longitude (\u00b0E)",
        "Geogr. latitude (\u00b0N)",
        "Altitude (m)",
        "Timezone (UTC+h)",
        "Air temperature Ta (\u00b0C)",
        "Vapour pressure VP (hPa)",
        "Relative humidity RH (%)",
        "Wind velocity v (m/s)",
        "Cloud cover N (octas)",
        "Surface temperature Ts (\u00b0C)",
        "Linke turbidity",
        "Albedo",
        "Bowen ratio",
        "Ratio of diffuse and global radiation",
        "Diffuse radiation D (W/m\u00b2)",
        "Global radiation G (W/m\u00b2)",
        "Mean radiant temp. Tmrt (\u00b0C)",
        "Clothing (clo)",
        "Activity (W)",
        "Horizon elevation angle (\u00b0)",
    };
    return items;
}

TFormWerte::TFormWerte(Application& app) : FormModel("FormWerte", app.host()), app_(app) {
    caption = "Datafile - Wertedatei";
    Control& file = add("EditDatei", ControlKind::Edit, "(none - keine)");
    file.readOnly = true;
    add("BitBtn1", ControlKind::Button).hint = "Open datafile - Wertedatei \u00f6ffnen";
    add("BitBtn2", ControlKind::Button).hint = "Use current data - Aktuelle Werte verwenden";
    add("ChkUeberschriften", ControlKind::CheckBox, "Skip first row (labels)");
    add("EditDefVal", ControlKind::Edit, "9999");
    add("EditITime", ControlKind::Edit, "h:mm");
    add("EditIDate", ControlKind::Edit, "d.m.yyyy");
    Control& sep = add("ComboFileSep", ControlKind::Combo, "Space or Tab");
    sep.items = {"Space or Tab", ",", ";", "|"};
    sep.itemIndex = 0;
    sep.readOnly = true;
    Control& list = add("CheckListBox1", ControlKind::CheckList);
    list.items = ColumnItems();
    list.itemChecked.assign(list.items.size(), false);
    add("LabelHorAz", ControlKind::Label, "Horizon azimutal increment").enabled = false;
    Control& az = add("ComboHorAz", ControlKind::Combo, "30\u00b0 (12 values)");
    az.items = {"10\u00b0 (36 values)", "12\u00b0 (30 values)", "15\u00b0 (24 values)",
                "18\u00b0 (20 values)", "20\u00b0 (18 values)", "24\u00b0 (15 values)",
                "30\u00b0 (12 values)", "36\u00b0 (10 values)", "45\u00b0 (8 values)",
                "60\u00b0 (6 values)",  "90\u00b0 (4 values)"};
    az.itemIndex = 6;
    az.readOnly = true;
    az.enabled = false;
    add("ChkInDatei", ControlKind::CheckBox, "Output in file");
    add("OkBtn", ControlKind::Button, "&Close");
    add("OpenDialog1", ControlKind::Other);
}

void TFormWerte::onClick(const std::string& name) {
    // A new output destination needs a new table.
    if (name == "ChkInDatei") app_.geodat().disableAdd();
    if (name == "OkBtn") hide();
}

}  // namespace umbrix
