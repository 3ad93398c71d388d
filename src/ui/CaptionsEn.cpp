// English captions: the texts that only the views have (the models hold the English captions of
// their controls) and the bilingual hints of the main window's fields.
#include "ui/Captions.h"

namespace umbrix::ui {

namespace {

const CaptionEntry kEnglish[] = {
    // ---- main window ----
    {"FormGeodat.MenuFile", "&File"},
    {"FormGeodat.MenuInput", "&Input"},
    {"FormGeodat.MenuOutput", "&Output"},
    {"FormGeodat.MenuTable", "&Table"},
    {"FormGeodat.MenuLanguage", "Lan&guage"},
    {"FormGeodat.MenuHelp", "&?"},
    {"FormGeodat.OpenProject1", "Open p&roject..."},
    {"FormGeodat.SaveProject1", "Save &project..."},
    {"FormGeodat.MenuRecent", "Recent projects"},
    {"FormGeodat.GroupGeo", "Geographic data"},
    {"FormGeodat.GroupDate", "Date and time"},
    {"FormGeodat.GroupMet", "Meteorological data"},
    {"FormGeodat.GroupPerson", "Personal data"},
    {"FormGeodat.GroupIndices", "Thermal indices"},
    {"FormGeodat.LabelOrt", "Location"},
    {"FormGeodat.LabelLg", "Longitude (°E)"},
    {"FormGeodat.LabelBr", "Latitude (°N)"},
    {"FormGeodat.LabelNn", "Altitude (m)"},
    {"FormGeodat.LabelZz", "Time zone (UTC+h)"},
    {"FormGeodat.LabelDat", "Date"},
    {"FormGeodat.LabelTag", "Day of year"},
    {"FormGeodat.LabelZeit", "Local time"},
    {"FormGeodat.LabelTa", "Air temperature Ta (°C)"},
    {"FormGeodat.LabelVp", "Vapour pressure VP (hPa)"},
    {"FormGeodat.LabelRh", "Relative humidity RH (%)"},
    {"FormGeodat.LabelWG", "Wind velocity v (m/s)"},
    {"FormGeodat.LabelTs", "Surface temperature Ts (°C)"},
    {"FormGeodat.LabelG", "Global radiation G (W/m²)"},
    {"FormGeodat.LabelTmrt", "Mean radiant temp. Tmrt (°C)"},
    {"FormGeodat.LabelEmpty", "Ts, G, Tmrt empty: computed"},
    {"FormGeodat.LabelGr", "Height (m)"},
    {"FormGeodat.LabelGew", "Weight (kg)"},
    {"FormGeodat.LabelA", "Age (years)"},
    {"FormGeodat.LabelSex", "Sex"},
    {"FormGeodat.LabelIcl", "Clothing (clo)"},
    {"FormGeodat.LabelAct", "Activity (W)"},
    {"FormGeodat.EditDat", "", "Date of the calculation - Datum der Berechnung"},
    {"FormGeodat.EditTag", "", "Day of year, 1 = 1 January - Tag des Jahres, 1 = 1. Januar"},
    {"FormGeodat.EditZeit", "", "Local time - Ortszeit"},
    {"FormGeodat.ComboOrt", "",
     "Choose a stored location or type a new name - Gespeicherten Standort wählen oder neuen "
     "Namen eingeben"},
    {"FormGeodat.EditLg", "",
     "Longitude, positive east: 7°51' or 7.85 - Geogr. Länge, östlich positiv: 7°51' oder 7.85"},
    {"FormGeodat.EditBr", "",
     "Latitude, positive north: 48°0' or 48.0 - Geogr. Breite, nördlich positiv: 48°0' oder "
     "48.0"},
    {"FormGeodat.EditZz", "", "Hours east of UTC - Stunden östlich von UTC"},
    {"FormGeodat.EditTs", "", "Empty: computed - Leer: wird berechnet"},
    {"FormGeodat.EditG", "",
     "Empty: computed from the cloud cover - Leer: aus der Bewölkung berechnet"},
    {"FormGeodat.EditTmrt", "", "Empty: computed - Leer: wird berechnet"},
    {"FormGeodat.ButtonNeu", "", "Start a new table - Neue Tabelle beginnen"},
    {"FormGeodat.ButtonHinzu", "",
     "Add rows under the table of the last New - Zeilen an die Tabelle anhängen"},
    {"FormGeodat.ButtonCancel", "Cancel (Esc)",
     "End the running calculation; rows already written stay - Laufende Berechnung beenden; "
     "geschriebene Zeilen bleiben"},
    {"FormGeodat.ProgressBar1", "", "Progress - Fortschritt"},

    // ---- pre-settings ----
    {"FormVorgaben.GroupModel", "Model parameters"},
    {"FormVorgaben.GroupFormats", "Date and time formats"},
    {"FormVorgaben.LabelBowen", "Bowen ratio"},
    {"FormVorgaben.LabelAlbedo", "Albedo of the surroundings"},
    {"FormVorgaben.LabelAlbHum", "Albedo of the human being"},
    {"FormVorgaben.LabelTrb", "Linke turbidity"},
    {"FormVorgaben.LabelDGratio", "Ratio of diffuse and global radiation"},
    {"FormVorgaben.LabelFoglimit", "Lower limit of rel. humidity (%) for full diffuse radiation"},
    {"FormVorgaben.LabelAuto", "auto: computed by the program"},
    {"FormVorgaben.LabelODate", "Output date format"},
    {"FormVorgaben.LabelOTime", "Output time format"},

    // ---- data file ----
    {"FormWerte.LabelDatei", "Datafile:"},
    {"FormWerte.GroupFormat", "Reading"},
    {"FormWerte.LabelDefVal", "Default for missing values"},
    {"FormWerte.LabelIDate", "Date"},
    {"FormWerte.LabelITime", "Time"},
    {"FormWerte.LabelFileSep", "File separator"},
    {"FormWerte.LabelEpwTime", "EPW time stamp"},
    {"FormWerte.GroupColumns", "Column selection"},

    // ---- diagram window ----
    {"FormMap.MenuMapFile", "&File"},
    {"FormMap.MapBtn", "Map", "The map over the obstacle plan"},
    {"FormMap.MapQuantityLabel", "Quantity:"},
    {"FormMap.MapCellLabel", "Cell (m):"},
    {"FormMap.MapComputeBtn", "Compute map"},
    {"FormMap.ChartsBtn", "Charts", "Charts of the last data table or daily data"},
    {"FormMap.ChartKindLabel", "Chart:"},
    {"FormMap.ChartSaveBtn", "Save as..."},
    {"FormMap.ChartCopyBtn", "Copy"},
    {"FormMap.MenuMapEdit", "&Edit"},
    {"FormMap.SavePng1", "Save as &PNG..."},
    {"FormMap.Copy1", "&Copy"},

    // ---- detail window ----
    {"FormMemi.MenuMemiFile", "&File"},

    // ---- obstacle editor ----
    {"FormObs.MenuObsFile", "&File"},
    {"FormObs.CloseItem", "&Close"},
    {"FormObs.MenuObsEdit", "&Edit"},
    {"FormObs.UndoItem", "&Undo"},
    {"FormObs.RedoItem", "&Redo"},
    {"FormObs.LabelDat", "File:"},
    {"FormObs.GroupKind", "Obstacle kinds"},
    {"FormObs.GroupEdit", "Obstacle"},
    {"FormObs.LabelNr", "Obstacle no."},
    {"FormObs.LabelRot", "Angle (°)"},
    {"FormObs.GroupScale", "Plan"},
    {"FormObs.LabelScale", "Scale (m/pixel)"},
    {"FormObs.LabelYardstick", "Yardstick (m)"},
    {"FormObs.LabelAlt", "Altitude (m)"},
    {"FormObs.RemoveMapBtn", "", "Remove template map - Vorlagenplan entfernen"},
    {"FormObs.EditNr", "",
     "Number of the selected obstacle, 0: none - Nummer des gewählten Hindernisobjekts, 0: keins"},
    {"FormObs.EditAlt", "",
     "Height of the location of calculation above ground - Höhe des Berechnungsorts über Grund"},
    {"FormObs.EditRot", "",
     "Counter-clockwise about the location - Gegen den Uhrzeigersinn um den Standort"},
    {"FormObs.UpDownNr", "", "Choose an obstacle - Hindernisobjekt wählen"},

    // ---- horizon limitation editor ----
    {"FormFreihor.LabelNorth", "N"},
    {"FormFreihor.LabelEast", "E"},
    {"FormFreihor.LabelSouth", "S"},
    {"FormFreihor.LabelWest", "W"},
    {"FormFreihor.GroupDraw", "Draw"},
    {"FormFreihor.GroupCut", "Cut off"},
    {"FormFreihor.LabelA", "Albedo"},
    {"FormFreihor.LabelE", "Emission coeff."},
    {"FormFreihor.LabelRed", "R"},
    {"FormFreihor.LabelGreen", "G"},
    {"FormFreihor.LabelBlue", "B"},
    {"FormFreihor.EditA", "",
     "Albedo of the areas painted next, 0 to 1 - Albedo der nächsten Flächen, 0 bis 1"},
    {"FormFreihor.EditE", "",
     "Emission coefficient of the areas painted next, 0 to 1 - Emissionskoeffizient der "
     "nächsten Flächen, 0 bis 1"},
    {"FormFreihor.TrackBar1", "", "Red of the cut-off colour - Rotanteil der Grenzfarbe"},
    {"FormFreihor.TrackBar2", "", "Green of the cut-off colour - Grünanteil der Grenzfarbe"},
    {"FormFreihor.TrackBar3", "", "Blue of the cut-off colour - Blauanteil der Grenzfarbe"},
    {"FormFreihor.MenuHorEdit", "&Edit"},
    {"FormFreihor.UndoItem", "&Undo"},
    {"FormFreihor.RedoItem", "&Redo"},

    // ---- topography editor ----
    {"FormTopo.MenuTopoFile", "&File"},
    {"FormTopo.LabelDat", "File:"},
    {"FormTopo.GroupGrid", "Grid"},
    {"FormTopo.LabelRast", "&Grid distance (m)"},
    {"FormTopo.LabelAnzSp", "# c&olumns"},
    {"FormTopo.LabelAnzZe", "# &rows"},
    {"FormTopo.LabelComboX", "x-direction"},
    {"FormTopo.LabelComboY", "y-direction"},
    {"FormTopo.GroupLocation", "&Location"},
    {"FormTopo.LabelX0", "x0 (m)"},
    {"FormTopo.LabelY0", "y0 (m)"},
    {"FormTopo.LabelZ0", "z0 (m)"},
    {"FormTopo.GroupPoint", "Edit point"},
    {"FormTopo.LabelXp", "xp (m)"},
    {"FormTopo.LabelYp", "yp (m)"},
    {"FormTopo.LabelZp", "zp (m)"},
    {"FormTopo.EditZ0", "",
     "Absolute height of the location, in the heights' datum - Absolute Höhe des Standorts im "
     "Bezugssystem der Höhen"},
    {"FormTopo.EditZp", "",
     "Height of the edit point; Enter with Auto-enter goes on to the next point - Höhe des "
     "Bearbeitungspunkts; Enter mit Auto-Eingabe geht zum nächsten Punkt"},
    {"FormTopo.AutoBtn", "",
     "Enter stores the height and moves on, Escape stops - Enter speichert die Höhe und geht "
     "weiter, Escape beendet"},

    // ---- windows of the shell ----
    {"AboutBox", "About"},
    {"AboutBox.Comments",
     "Human-biometeorology in urban structures: solar and thermal radiation reaching a person, "
     "horizon limitation and sky view factors, mean radiant temperature and the thermal "
     "indices PMV, PET, SET*, UTCI, PT and mPET; time series, daily courses, sun path and "
     "shadow diagrams.\n\nThe scientific sources are listed under ? → Bibliography."},
    {"FormBiblio", "Bibliography - Literatur"},
    {"FormBiblio.Intro", "Scientific sources of the indices and models"},
};

}  // namespace

std::span<const CaptionEntry> EnglishCaptions() {
    return kEnglish;
}

}  // namespace umbrix::ui
