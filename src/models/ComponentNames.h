#pragma once
// The component names of every window: the names a user types after --set, the keys of the
// session file, the object names of the desktop's widgets. They are stored and typed strings
// and stay as they are; each constant is named as the string it holds, so that a search for a
// name finds its uses, and a misspelt name does not compile.
// One namespace per window; docs/glossary.md says what each field means.

namespace umbrix {

// The main window ("FormGeodat").
namespace main_window {
// the window's own name: its section in the session file and the prefix of a qualified name
inline constexpr char kForm[] = "FormGeodat";
// field: Date; date of the calculation
inline constexpr char EditDat[] = "EditDat";
// field: Day of year; day of year, 1 = 1 January
inline constexpr char EditTag[] = "EditTag";
// field: Local time
inline constexpr char EditZeit[] = "EditZeit";
// combo box: Location; choose a stored location or type a new name
inline constexpr char ComboOrt[] = "ComboOrt";
// field: Longitude (°E); longitude, positive east: 7°51' or 7.85
inline constexpr char EditLg[] = "EditLg";
// field: Latitude (°N); latitude, positive north: 48°0' or 48.0
inline constexpr char EditBr[] = "EditBr";
// field: Altitude (m)
inline constexpr char EditNn[] = "EditNn";
// field: Time zone (UTC+h); hours east of UTC
inline constexpr char EditZz[] = "EditZz";
// button: Add location
inline constexpr char ButtonOrtHinzu[] = "ButtonOrtHinzu";
// button: Remove location
inline constexpr char ButtonOrtEntf[] = "ButtonOrtEntf";
// field: Air temperature Ta (°C) (default "20.0")
inline constexpr char EditTa[] = "EditTa";
// field: Vapour pressure VP (hPa) (default "12.5")
inline constexpr char EditVp[] = "EditVp";
// field: Relative humidity RH (%) (default "53.5")
inline constexpr char EditRh[] = "EditRh";
// field: Wind velocity v (m/s) (default "0.1")
inline constexpr char EditWG[] = "EditWG";
// label: Cloud cover (octas)
inline constexpr char LabelN[] = "LabelN";
// field: Cloud cover N (octas) (default "0.0")
inline constexpr char EditN[] = "EditN";
// field: Surface temperature Ts (°C); empty: computed
inline constexpr char EditTs[] = "EditTs";
// field: Global radiation G (W/m²); empty: computed from the cloud cover
inline constexpr char EditG[] = "EditG";
// field: Mean radiant temp. Tmrt (°C); empty: computed
inline constexpr char EditTmrt[] = "EditTmrt";
// field: Height (m) (default "1.75")
inline constexpr char EditGr[] = "EditGr";
// field: Weight (kg) (default "75.0")
inline constexpr char EditGew[] = "EditGew";
// field: Age (years) (default "35")
inline constexpr char EditA[] = "EditA";
// combo box: Sex
inline constexpr char ComboSex[] = "ComboSex";
// field: Clothing (clo) (default "0.9")
inline constexpr char EditIcl[] = "EditIcl";
// field: Activity (W) (default "80")
inline constexpr char EditAct[] = "EditAct";
// label: Position
inline constexpr char LabelPos[] = "LabelPos";
// combo box: Position (standing or sitting)
inline constexpr char ComboPos[] = "ComboPos";
// check box: Automatic standard clothing (mPET)
inline constexpr char AutoCloChK[] = "AutoCloChK";
// check box: PMV
inline constexpr char PmvChk[] = "PmvChk";
// check box: PET
inline constexpr char PetChk[] = "PetChk";
// check box: SET*
inline constexpr char SetChk[] = "SetChk";
// check box: UTCI
inline constexpr char UtciChk[] = "UtciChk";
// check box: PT
inline constexpr char PtChK[] = "PtChK";
// check box: mPET
inline constexpr char mPETChK[] = "mPETChK";
// button: New
inline constexpr char ButtonNeu[] = "ButtonNeu";
// button: Add
inline constexpr char ButtonHinzu[] = "ButtonHinzu";
// button: Now and today
inline constexpr char ButtonJetzt[] = "ButtonJetzt";
// progress bar of a run
inline constexpr char ProgressBar1[] = "ProgressBar1";
// menu item: Open
inline constexpr char Open1[] = "Open1";
// menu item: Save as...
inline constexpr char SaveAs1[] = "SaveAs1";
// menu item: Save & restore session
inline constexpr char Saverestoresession1[] = "Saverestoresession1";
// menu item: Exit
inline constexpr char Exit1[] = "Exit1";
// menu item: Sky view factor
inline constexpr char Horizonteinengung1[] = "Horizonteinengung1";
// menu item: Topography
inline constexpr char Topographie1[] = "Topographie1";
// menu item: Obstacles
inline constexpr char Hindernisobjekte1[] = "Hindernisobjekte1";
// menu item: Datafile
inline constexpr char Wertedatei1[] = "Wertedatei1";
// menu item: Additional pre-settings
inline constexpr char Vorgaben1[] = "Vorgaben1";
// menu item: Diagram (polar)
inline constexpr char Polar1[] = "Polar1";
// menu item: Diagram (cylindrical)
inline constexpr char Zylinder1[] = "Zylinder1";
// menu item: Data table
inline constexpr char Einzeltab1[] = "Einzeltab1";
// menu item: Daily data
inline constexpr char Jahresgang1[] = "Jahresgang1";
// menu item: Shadows
inline constexpr char Schattenwurf1[] = "Schattenwurf1";
// menu item: PET/MEMI
inline constexpr char PETMEMI1[] = "PETMEMI1";
// menu item: mPET/mPET_model
inline constexpr char mPETYCC1[] = "mPETYCC1";
// menu item: Enumerator/tag
inline constexpr char Enumtag1[] = "Enumtag1";
// menu item: Date
inline constexpr char Datum1[] = "Datum1";
// menu item: Day of year
inline constexpr char TagdesJahres1[] = "TagdesJahres1";
// menu item: Time
inline constexpr char Uhrzeit1[] = "Uhrzeit1";
// menu item: Latitude
inline constexpr char Latitude1[] = "Latitude1";
// menu item: Longitude
inline constexpr char Longitude1[] = "Longitude1";
// menu item: Altitude
inline constexpr char Altitude1[] = "Altitude1";
// menu item: Timezone
inline constexpr char Timezone1[] = "Timezone1";
// menu item: Sunrise
inline constexpr char Tauf1[] = "Tauf1";
// menu item: Sunset
inline constexpr char Tunter1[] = "Tunter1";
// menu item: Max. duration of sunshine
inline constexpr char SDmax1[] = "SDmax1";
// menu item: Act. duration of sunshine
inline constexpr char SDtat1[] = "SDtat1";
// menu item: Sun elevation angle
inline constexpr char Sunelevationangle1[] = "Sunelevationangle1";
// menu item: Sun azimuth angle
inline constexpr char Sunazimuthangle1[] = "Sunazimuthangle1";
// menu item: Sky view factor (Umbrix)
inline constexpr char SVF1[] = "SVF1";
// menu item: Sky view factor (with cos-law)
inline constexpr char SVFcos1[] = "SVFcos1";
// menu item: Linke turbidity
inline constexpr char LTF1[] = "LTF1";
// menu item: Albedo
inline constexpr char Albedo1[] = "Albedo1";
// menu item: Bowen ratio
inline constexpr char Bowen1[] = "Bowen1";
// menu item: Max. global radiation
inline constexpr char Gmax1[] = "Gmax1";
// menu item: Global radiation
inline constexpr char Gtat1[] = "Gtat1";
// menu item: Max. direct radiation
inline constexpr char Smax1[] = "Smax1";
// menu item: Direct radiation
inline constexpr char Stat1[] = "Stat1";
// menu item: Max. diffuse radiation
inline constexpr char Dmax1[] = "Dmax1";
// menu item: Diffuse radiation
inline constexpr char Dtat1[] = "Dtat1";
// menu item: Atmospheric radiation
inline constexpr char A1[] = "A1";
// menu item: Thermal radiation
inline constexpr char E1[] = "E1";
// menu item: Surface temperature
inline constexpr char To1[] = "To1";
// menu item: Air temperature
inline constexpr char Ta1[] = "Ta1";
// menu item: Vapour pressure
inline constexpr char Vp1[] = "Vp1";
// menu item: Relative humidity
inline constexpr char Rh1[] = "Rh1";
// menu item: Wind velocity
inline constexpr char V1[] = "V1";
// menu item: Cloud cover
inline constexpr char N1[] = "N1";
// menu item: Mean radiant temperature
inline constexpr char Tmrt1[] = "Tmrt1";
// menu item: Clothing
inline constexpr char Clothing1[] = "Clothing1";
// menu item: Activity
inline constexpr char Activity1[] = "Activity1";
// menu items: the stress class of UTCI, PET, PMV (with PPD) and PT beside the index
inline constexpr char UTCIclass1[] = "UTCIclass1";
inline constexpr char PETclass1[] = "PETclass1";
inline constexpr char PMVclass1[] = "PMVclass1";
inline constexpr char PTclass1[] = "PTclass1";
// menu item: English
inline constexpr char English1[] = "English1";
// menu item: Deutsch
inline constexpr char Deutsch1[] = "Deutsch1";
// menu item: Help
inline constexpr char Help1[] = "Help1";
// menu item: Bibliography
inline constexpr char Bibliography1[] = "Bibliography1";
// menu item: About
inline constexpr char About1[] = "About1";
// the desktop program's own widgets (object names of labels, groups and menus)
// menu: File
inline constexpr char MenuFile[] = "MenuFile";
// menu: Input
inline constexpr char MenuInput[] = "MenuInput";
// menu: Output
inline constexpr char MenuOutput[] = "MenuOutput";
// menu: Table
inline constexpr char MenuTable[] = "MenuTable";
// menu: Language
inline constexpr char MenuLanguage[] = "MenuLanguage";
// menu: ?
inline constexpr char MenuHelp[] = "MenuHelp";
// menu item: Save project...
inline constexpr char SaveProject1[] = "SaveProject1";
// menu item: Open project...
inline constexpr char OpenProject1[] = "OpenProject1";
// menu: Recent projects
inline constexpr char MenuRecent[] = "MenuRecent";
// group: Geographic data
inline constexpr char GroupGeo[] = "GroupGeo";
// group: Date and time
inline constexpr char GroupDate[] = "GroupDate";
// group: Meteorological data
inline constexpr char GroupMet[] = "GroupMet";
// group: Personal data
inline constexpr char GroupPerson[] = "GroupPerson";
// group: Thermal indices
inline constexpr char GroupIndices[] = "GroupIndices";
// label: Location
inline constexpr char LabelOrt[] = "LabelOrt";
// label: Longitude (°E)
inline constexpr char LabelLg[] = "LabelLg";
// label: Latitude (°N)
inline constexpr char LabelBr[] = "LabelBr";
// label: Altitude (m)
inline constexpr char LabelNn[] = "LabelNn";
// label: Time zone (UTC+h)
inline constexpr char LabelZz[] = "LabelZz";
// label: Date
inline constexpr char LabelDat[] = "LabelDat";
// label: Day of year
inline constexpr char LabelTag[] = "LabelTag";
// label: Local time
inline constexpr char LabelZeit[] = "LabelZeit";
// label: Air temperature Ta (°C)
inline constexpr char LabelTa[] = "LabelTa";
// label: Vapour pressure VP (hPa)
inline constexpr char LabelVp[] = "LabelVp";
// label: Relative humidity RH (%)
inline constexpr char LabelRh[] = "LabelRh";
// label: Wind velocity v (m/s)
inline constexpr char LabelWG[] = "LabelWG";
// label: Surface temperature Ts (°C)
inline constexpr char LabelTs[] = "LabelTs";
// label: Global radiation G (W/m²)
inline constexpr char LabelG[] = "LabelG";
// label: Mean radiant temp. Tmrt (°C)
inline constexpr char LabelTmrt[] = "LabelTmrt";
// label: Ts, G, Tmrt empty: computed
inline constexpr char LabelEmpty[] = "LabelEmpty";
// label: Height (m)
inline constexpr char LabelGr[] = "LabelGr";
// label: Weight (kg)
inline constexpr char LabelGew[] = "LabelGew";
// label: Age (years)
inline constexpr char LabelA[] = "LabelA";
// label: Sex
inline constexpr char LabelSex[] = "LabelSex";
// label: Clothing (clo)
inline constexpr char LabelIcl[] = "LabelIcl";
// label: Activity (W)
inline constexpr char LabelAct[] = "LabelAct";
// button: Cancel (Esc)
inline constexpr char ButtonCancel[] = "ButtonCancel";
}  // namespace main_window

// The detail table of the PET and mPET models ("FormMemi").
namespace detail_table {
// the window's own name: its section in the session file and the prefix of a qualified name
inline constexpr char kForm[] = "FormMemi";
// the text of the details
inline constexpr char Memo1[] = "Memo1";
// menu item: Save as...
inline constexpr char SaveAs1[] = "SaveAs1";
// menu item: Close
inline constexpr char Close1[] = "Close1";
// the desktop program's own widgets (object names of labels, groups and menus)
// menu: File
inline constexpr char MenuMemiFile[] = "MenuMemiFile";
}  // namespace detail_table

// The output window: diagrams and the table ("FormMap").
namespace output_window {
// the window's own name: its section in the session file and the prefix of a qualified name
inline constexpr char kForm[] = "FormMap";
// the picture: the diagram or the table
inline constexpr char ImageSun[] = "ImageSun";
// the table as text
inline constexpr char RichEdit1[] = "RichEdit1";
// button: Open file
inline constexpr char OpenBtn[] = "OpenBtn";
// button: Save to file
inline constexpr char SaveBtn[] = "SaveBtn";
// button: Print
inline constexpr char PrintBtn[] = "PrintBtn";
// button: Zoom in
inline constexpr char ZoomInBtn[] = "ZoomInBtn";
// button: Zoom out
inline constexpr char ZoomOutBtn[] = "ZoomOutBtn";
// tool button: Put grid into foreground
inline constexpr char GridBtn[] = "GridBtn";
// tool button: Show sun orbit diagram
inline constexpr char SunOrbitBtn[] = "SunOrbitBtn";
// tool button: show the short-wave radiation diagram
inline constexpr char RBtn[] = "RBtn";
// tool button: show the long-wave radiation diagram
inline constexpr char EBtn[] = "EBtn";
// label: Time:
inline constexpr char Label1[] = "Label1";
// field: local time of the sun position or shadow overlay (h:mm)
inline constexpr char EditTime[] = "EditTime";
// up-down: steps the overlay time (EditTime) by the increment
inline constexpr char UpDown1[] = "UpDown1";
// label: Increment (min):
inline constexpr char Label2[] = "Label2";
// field: Increment (min) of the overlay time (default "30")
inline constexpr char EditInc[] = "EditInc";
// up-down: steps the increment (EditInc)
inline constexpr char UpDown2[] = "UpDown2";
// menu item: Open...
inline constexpr char Open1[] = "Open1";
// menu item: Save as...
inline constexpr char SaveAs1[] = "SaveAs1";
// menu item: Print...
inline constexpr char Print1[] = "Print1";
// menu item: Close
inline constexpr char Close1[] = "Close1";
// menu item: View
inline constexpr char View1[] = "View1";
// menu item: Zoom in
inline constexpr char ZoomIn1[] = "ZoomIn1";
// menu item: Zoom out
inline constexpr char ZoomOut1[] = "ZoomOut1";
// menu item: Sun orbit
inline constexpr char SunOrbit1[] = "SunOrbit1";
// menu item: Reflected radiation
inline constexpr char Reflected1[] = "Reflected1";
// menu item: Thermal radiation
inline constexpr char Thermal1[] = "Thermal1";
// the desktop program's own widgets (object names of labels, groups and menus)
// menu: File
inline constexpr char MenuMapFile[] = "MenuMapFile";
// menu: View
inline constexpr char MenuMapView[] = "MenuMapView";
// the tool bar
inline constexpr char ToolBar1[] = "ToolBar1";
// tool button: Map (the map view in place of the picture and text views)
inline constexpr char MapBtn[] = "MapBtn";
// the map view
inline constexpr char MapView[] = "MapView";
// tool button: Table / Text (the table view in place of the text view, and back)
inline constexpr char TableViewBtn[] = "TableViewBtn";
// the table view: sortable columns, the rows' date and time in the row header
inline constexpr char TableView[] = "TableView";
// label: Quantity:
inline constexpr char MapQuantityLabel[] = "MapQuantityLabel";
// combo box: the quantity the map shows
inline constexpr char MapQuantity[] = "MapQuantity";
// label: Cell (m):
inline constexpr char MapCellLabel[] = "MapCellLabel";
// field: edge of a map cell, m (default "1")
inline constexpr char MapCell[] = "MapCell";
// button: Compute map
inline constexpr char MapComputeBtn[] = "MapComputeBtn";
// the map picture
inline constexpr char MapPicture[] = "MapPicture";
// the values of the cell under the pointer, or the last message
inline constexpr char MapHint[] = "MapHint";
// tool button: Charts (the charts of the last table in place of the picture and text views)
inline constexpr char ChartsBtn[] = "ChartsBtn";
// the charts view
inline constexpr char ChartsPage[] = "ChartsPage";
// label: Chart:
inline constexpr char ChartKindLabel[] = "ChartKindLabel";
// combo box: the kind of chart (day and hour, time series, stress classes, daily data)
inline constexpr char ChartKind[] = "ChartKind";
// label: Column: or Columns:
inline constexpr char ChartColumnLabel[] = "ChartColumnLabel";
// combo box: the column the chart draws (the first of a time series)
inline constexpr char ChartColumn[] = "ChartColumn";
// combo box: the second column of a time series, or none
inline constexpr char ChartColumn2[] = "ChartColumn2";
// combo box: the third column of a time series, or none
inline constexpr char ChartColumn3[] = "ChartColumn3";
// combo box: the fourth column of a time series, or none
inline constexpr char ChartColumn4[] = "ChartColumn4";
// button: Save as... (the chart as SVG or PNG)
inline constexpr char ChartSaveBtn[] = "ChartSaveBtn";
// button: Copy (the chart as a picture)
inline constexpr char ChartCopyBtn[] = "ChartCopyBtn";
// the chart
inline constexpr char ChartPicture[] = "ChartPicture";
// why no chart is shown
inline constexpr char ChartMessage[] = "ChartMessage";
// menu: Edit
inline constexpr char MenuMapEdit[] = "MenuMapEdit";
// menu item: Save as PNG... (the diagram as shown, at a chosen size)
inline constexpr char SavePng1[] = "SavePng1";
// menu item: Copy (the diagram as shown, to the clipboard)
inline constexpr char Copy1[] = "Copy1";
// field: width of the PNG picture, pixels (default twice the shown width)
inline constexpr char PngWidth[] = "PngWidth";
// field: height of the PNG picture, pixels (follows the width in the diagram's proportions)
inline constexpr char PngHeight[] = "PngHeight";
}  // namespace output_window

// The horizon limitation editor (a drawn fisheye horizon) ("FormFreihor").
namespace horizon_editor {
// the window's own name: its section in the session file and the prefix of a qualified name
inline constexpr char kForm[] = "FormFreihor";
// swatch: the brush colour
inline constexpr char Shape2[] = "Shape2";
// field: Albedo; albedo of the areas painted next, 0 to 1 (default "0.3")
inline constexpr char EditA[] = "EditA";
// field: Emission coeff.; emission coefficient of the areas painted next, 0 to 1 (default "0.95")
inline constexpr char EditE[] = "EditE";
// slider: Red of the cut-off colour
inline constexpr char TrackBar1[] = "TrackBar1";
// slider: Green of the cut-off colour
inline constexpr char TrackBar2[] = "TrackBar2";
// slider: Blue of the cut-off colour
inline constexpr char TrackBar3[] = "TrackBar3";
// swatch: the cut-off colour
inline constexpr char Shape1[] = "Shape1";
// tool button: Limitation to the edge of horizon
inline constexpr char SpeedButton1[] = "SpeedButton1";
// tool button: Limitation not to the edge of horizon
inline constexpr char SpeedButton2[] = "SpeedButton2";
// tool button: Fill color
inline constexpr char FillBtn[] = "FillBtn";
// tool button: Pick color from image
inline constexpr char FillPickBtn[] = "FillPickBtn";
// tool button: Pick color from image
inline constexpr char CutPickBtn[] = "CutPickBtn";
// button: New horizon limitation
inline constexpr char NeuBtn[] = "NeuBtn";
// button: Open horizon limitation
inline constexpr char OeffnenBtn[] = "OeffnenBtn";
// button: Import horizon limitation
inline constexpr char ImportBtn[] = "ImportBtn";
// button: Save horizon limitation
inline constexpr char SpeichernBtn[] = "SpeichernBtn";
// button: Cut off everything brighter than the RGB value
inline constexpr char CutBtn[] = "CutBtn";
// button: Monochrome
inline constexpr char MonoBtn[] = "MonoBtn";
// button: Select from color palette
inline constexpr char SelBtn[] = "SelBtn";
// button: Undo
inline constexpr char UndoBtn[] = "UndoBtn";
// button: Redo
inline constexpr char RedoBtn[] = "RedoBtn";
// tool button: Put grid into foreground
inline constexpr char GridBtn[] = "GridBtn";
// tool button: Show albedo values
inline constexpr char AlbBtn[] = "AlbBtn";
// tool button: Show emission coefficient values
inline constexpr char EmiBtn[] = "EmiBtn";
// the picture: the fisheye drawing
inline constexpr char Image1[] = "Image1";
// the desktop program's own widgets (object names of labels, groups and menus)
// label: N
inline constexpr char LabelNorth[] = "LabelNorth";
// label: E
inline constexpr char LabelEast[] = "LabelEast";
// label: S
inline constexpr char LabelSouth[] = "LabelSouth";
// label: W
inline constexpr char LabelWest[] = "LabelWest";
// group: Draw
inline constexpr char GroupDraw[] = "GroupDraw";
// group: Cut off
inline constexpr char GroupCut[] = "GroupCut";
// label: Albedo
inline constexpr char LabelA[] = "LabelA";
// label: Emission coeff.
inline constexpr char LabelE[] = "LabelE";
// label: R
inline constexpr char LabelRed[] = "LabelRed";
// label: G
inline constexpr char LabelGreen[] = "LabelGreen";
// label: B
inline constexpr char LabelBlue[] = "LabelBlue";
// status line: the albedo or emission value under the pointer
inline constexpr char LabelHint[] = "LabelHint";
// menu: Edit
inline constexpr char MenuHorEdit[] = "MenuHorEdit";
// menu item: Undo
inline constexpr char UndoItem[] = "UndoItem";
// menu item: Redo
inline constexpr char RedoItem[] = "RedoItem";
}  // namespace horizon_editor

// The data-file window ("FormWerte").
namespace data_file_window {
// the window's own name: its section in the session file and the prefix of a qualified name
inline constexpr char kForm[] = "FormWerte";
// field: Datafile: (default "(none - keine)")
inline constexpr char EditDatei[] = "EditDatei";
// button: Open datafile
inline constexpr char BitBtn1[] = "BitBtn1";
// button: Use current data
inline constexpr char BitBtn2[] = "BitBtn2";
// button: Columns from labels (the column list from the file's first line)
inline constexpr char LabelsBtn[] = "LabelsBtn";
// check box: Skip first row (labels)
inline constexpr char ChkUeberschriften[] = "ChkUeberschriften";
// field: Default for missing values (default "9999")
inline constexpr char EditDefVal[] = "EditDefVal";
// field: Time (default "h:mm")
inline constexpr char EditITime[] = "EditITime";
// field: Date (default "d.m.yyyy")
inline constexpr char EditIDate[] = "EditIDate";
// combo box: File separator
inline constexpr char ComboFileSep[] = "ComboFileSep";
// combo box: EPW time stamp, "middle of hour" or "end of hour"
inline constexpr char ComboEpwTime[] = "ComboEpwTime";
// check list: the columns of the data file, in their order
inline constexpr char CheckListBox1[] = "CheckListBox1";
// label: Horizon azimutal increment
inline constexpr char LabelHorAz[] = "LabelHorAz";
// combo box: azimuthal increment of the horizon columns
inline constexpr char ComboHorAz[] = "ComboHorAz";
// check box: Output in file
inline constexpr char ChkInDatei[] = "ChkInDatei";
// button: Close
inline constexpr char OkBtn[] = "OkBtn";
// the file dialog of "Open datafile"
inline constexpr char OpenDialog1[] = "OpenDialog1";
// the desktop program's own widgets (object names of labels, groups and menus)
// label: Datafile:
inline constexpr char LabelDatei[] = "LabelDatei";
// group: Reading
inline constexpr char GroupFormat[] = "GroupFormat";
// label: Default for missing values
inline constexpr char LabelDefVal[] = "LabelDefVal";
// label: EPW time stamp
inline constexpr char LabelEpwTime[] = "LabelEpwTime";
// label: Date
inline constexpr char LabelIDate[] = "LabelIDate";
// label: Time
inline constexpr char LabelITime[] = "LabelITime";
// label: File separator
inline constexpr char LabelFileSep[] = "LabelFileSep";
// group: Column selection
inline constexpr char GroupColumns[] = "GroupColumns";
}  // namespace data_file_window

// The topography editor ("FormTopo").
namespace topography_editor {
// the window's own name: its section in the session file and the prefix of a qualified name
inline constexpr char kForm[] = "FormTopo";
// field: Grid distance (m) (default "50")
inline constexpr char EditRast[] = "EditRast";
// field: # columns (default "41")
inline constexpr char EditAnzSp[] = "EditAnzSp";
// field: # rows (default "41")
inline constexpr char EditAnzZe[] = "EditAnzZe";
// combo box: x-direction
inline constexpr char ComboX[] = "ComboX";
// combo box: y-direction
inline constexpr char ComboY[] = "ComboY";
// field: x0 (m) (default "1000.0")
inline constexpr char EditX0[] = "EditX0";
// field: y0 (m) (default "1000.0")
inline constexpr char EditY0[] = "EditY0";
// field: z0 (m); absolute height of the location, in the heights' datum (default "0")
inline constexpr char EditZ0[] = "EditZ0";
// field: xp (m) (default "0")
inline constexpr char EditXp[] = "EditXp";
// field: yp (m) (default "0")
inline constexpr char EditYp[] = "EditYp";
// field: zp (m); height of the edit point; Enter with Auto-enter goes on to the next point (default
// "0.0")
inline constexpr char EditZp[] = "EditZp";
// field: File: (default "(none - keine)")
inline constexpr char EditDat[] = "EditDat";
// label: 0m
inline constexpr char LabelWest[] = "LabelWest";
// label: 2000m
inline constexpr char LabelEast[] = "LabelEast";
// label: 0m
inline constexpr char LabelNorth[] = "LabelNorth";
// label: 2000m
inline constexpr char LabelSouth[] = "LabelSouth";
// label: x:
inline constexpr char LabelX[] = "LabelX";
// label: y:
inline constexpr char LabelY[] = "LabelY";
// button: New topography
inline constexpr char NeuBtn[] = "NeuBtn";
// button: Open Topography file
inline constexpr char OpenBtn[] = "OpenBtn";
// button: Save as topography file
inline constexpr char SaveBtn[] = "SaveBtn";
// button: Actualize map
inline constexpr char AktualBtn[] = "AktualBtn";
// tool button: Auto-enter
inline constexpr char AutoBtn[] = "AutoBtn";
// button: Close
inline constexpr char OkBtn[] = "OkBtn";
// button: New
inline constexpr char Neu1[] = "Neu1";
// button: Open...
inline constexpr char Oeffnen1[] = "Oeffnen1";
// button: Save...
inline constexpr char Speichern1[] = "Speichern1";
// button: Close
inline constexpr char Schliessen1[] = "Schliessen1";
// the picture: the terrain around the location
inline constexpr char TopoImg[] = "TopoImg";
// the desktop program's own widgets (object names of labels, groups and menus)
// menu: File
inline constexpr char MenuTopoFile[] = "MenuTopoFile";
// label: File:
inline constexpr char LabelDat[] = "LabelDat";
// group: Grid
inline constexpr char GroupGrid[] = "GroupGrid";
// label: Grid distance (m)
inline constexpr char LabelRast[] = "LabelRast";
// label: # columns
inline constexpr char LabelAnzSp[] = "LabelAnzSp";
// label: # rows
inline constexpr char LabelAnzZe[] = "LabelAnzZe";
// label: x-direction
inline constexpr char LabelComboX[] = "LabelComboX";
// label: y-direction
inline constexpr char LabelComboY[] = "LabelComboY";
// group: Location
inline constexpr char GroupLocation[] = "GroupLocation";
// label: x0 (m)
inline constexpr char LabelX0[] = "LabelX0";
// label: y0 (m)
inline constexpr char LabelY0[] = "LabelY0";
// label: z0 (m)
inline constexpr char LabelZ0[] = "LabelZ0";
// group: Edit point
inline constexpr char GroupPoint[] = "GroupPoint";
// label: xp (m)
inline constexpr char LabelXp[] = "LabelXp";
// label: yp (m)
inline constexpr char LabelYp[] = "LabelYp";
// label: zp (m)
inline constexpr char LabelZp[] = "LabelZp";
}  // namespace topography_editor

// The pre-settings window ("FormVorgaben").
namespace presettings {
// the window's own name: its section in the session file and the prefix of a qualified name
inline constexpr char kForm[] = "FormVorgaben";
// field: Bowen ratio (default "1.00")
inline constexpr char EditBowen[] = "EditBowen";
// field: Albedo of the surroundings (default "0.20")
inline constexpr char EditAlbedo[] = "EditAlbedo";
// field: Albedo of the human being (default "0.30")
inline constexpr char EditAlbHum[] = "EditAlbHum";
// field: Linke turbidity (default "auto")
inline constexpr char EditTrb[] = "EditTrb";
// field: Ratio of diffuse and global radiation (default "auto")
inline constexpr char EditDGratio[] = "EditDGratio";
// field: Lower limit of rel. humidity (%) for full diffuse radiation (default "90")
inline constexpr char EditFoglimit[] = "EditFoglimit";
// field: Output date format (default "d.m.yyyy")
inline constexpr char EditODate[] = "EditODate";
// field: Output time format (default "h:mm")
inline constexpr char EditOTime[] = "EditOTime";
// check box: Reduction of G presetting by obstacles
inline constexpr char RedGChk[] = "RedGChk";
// check box: Set current date/time on start-up
inline constexpr char ChkNow[] = "ChkNow";
// check box: Tmrt from horizontal direct radiation (earlier versions)
inline constexpr char TmrtHorizontalChk[] = "TmrtHorizontalChk";
// check box: SET* with the sedentary standard environment (earlier versions)
inline constexpr char SetSedentaryChk[] = "SetSedentaryChk";
// button: Apply
inline constexpr char ApplyBtn[] = "ApplyBtn";
// button: OK; applies and closes
inline constexpr char OKBtn[] = "OKBtn";
// button: Cancel; brings back the values of the window's opening and closes (also Escape)
inline constexpr char CancelBtn[] = "CancelBtn";
// the desktop program's own widgets (object names of labels, groups and menus)
// group: Model parameters
inline constexpr char GroupModel[] = "GroupModel";
// group: Date and time formats
inline constexpr char GroupFormats[] = "GroupFormats";
// label: Bowen ratio
inline constexpr char LabelBowen[] = "LabelBowen";
// label: Albedo of the surroundings
inline constexpr char LabelAlbedo[] = "LabelAlbedo";
// label: Albedo of the human being
inline constexpr char LabelAlbHum[] = "LabelAlbHum";
// label: Linke turbidity
inline constexpr char LabelTrb[] = "LabelTrb";
// label: Ratio of diffuse and global radiation
inline constexpr char LabelDGratio[] = "LabelDGratio";
// label: Lower limit of rel. humidity (%) for full diffuse radiation
inline constexpr char LabelFoglimit[] = "LabelFoglimit";
// label: auto: computed by the program
inline constexpr char LabelAuto[] = "LabelAuto";
// label: Output date format
inline constexpr char LabelODate[] = "LabelODate";
// label: Output time format
inline constexpr char LabelOTime[] = "LabelOTime";
}  // namespace presettings

// The obstacle editor ("FormObs").
namespace obstacle_editor {
// the window's own name: its section in the session file and the prefix of a qualified name
inline constexpr char kForm[] = "FormObs";
// menu item: New
inline constexpr char New1[] = "New1";
// menu item: Open...
inline constexpr char Open1[] = "Open1";
// menu item: Save
inline constexpr char Save1[] = "Save1";
// menu item: Save as...
inline constexpr char SaveAs1[] = "SaveAs1";
// button: Close
inline constexpr char CloseBtn[] = "CloseBtn";
// button: Remove all obstacles
inline constexpr char BitBtn1[] = "BitBtn1";
// button: Open obstacles file
inline constexpr char BitBtn2[] = "BitBtn2";
// button: Save obstacle in file
inline constexpr char BitBtn3[] = "BitBtn3";
// field: File: (default "(none - keine)")
inline constexpr char EditDat[] = "EditDat";
// tool button: Add new obstacles
inline constexpr char AddObsBtn[] = "AddObsBtn";
// tool button: Remove obstacles
inline constexpr char RemoveObsBtn[] = "RemoveObsBtn";
// tool button: Move location
inline constexpr char MoveLocBtn[] = "MoveLocBtn";
// tool button: Set yardstick
inline constexpr char ScaleBtn[] = "ScaleBtn";
// tool button: Move template map
inline constexpr char MoveMapBtn[] = "MoveMapBtn";
// tool button: Move everything
inline constexpr char MoveBtn[] = "MoveBtn";
// tool button: Put grid into foreground
inline constexpr char GridBtn[] = "GridBtn";
// radio group: the kind of obstacle to add
inline constexpr char RadioGrp[] = "RadioGrp";
// field: Obstacle no.; number of the selected obstacle, 0: none (default "0")
inline constexpr char EditNr[] = "EditNr";
// button: Edit
inline constexpr char EditObsBtn[] = "EditObsBtn";
// button: Copy
inline constexpr char CopyObsBtn[] = "CopyObsBtn";
// button: Paste
inline constexpr char PasteObsBtn[] = "PasteObsBtn";
// field: Angle (°); counter-clockwise about the location (default "0")
inline constexpr char EditRot[] = "EditRot";
// button: Rotate
inline constexpr char RotateBtn[] = "RotateBtn";
// button: Zoom in
inline constexpr char ZoomInBtn[] = "ZoomInBtn";
// button: Zoom out
inline constexpr char ZoomOutBtn[] = "ZoomOutBtn";
// tool button: Fit all obstacles
inline constexpr char FitBtn[] = "FitBtn";
// field: Scale (m/pixel) (default "1")
inline constexpr char EditScale[] = "EditScale";
// field: Yardstick (m)
inline constexpr char EditYardstick[] = "EditYardstick";
// button: Apply
inline constexpr char ApplyButton[] = "ApplyButton";
// button: Import map image as template
inline constexpr char NewMapBtn[] = "NewMapBtn";
// button: Remove template map
inline constexpr char RemoveMapBtn[] = "RemoveMapBtn";
// field: Altitude (m); height of the location of calculation above ground (default "1.00")
inline constexpr char EditAlt[] = "EditAlt";
// check box: the buildings take part in the calculation
inline constexpr char GebChk[] = "GebChk";
// check box: the deciduous trees take part in the calculation
inline constexpr char LaubChk[] = "LaubChk";
// check box: the conifers take part in the calculation
inline constexpr char NadelChk[] = "NadelChk";
// label: x:
inline constexpr char LabelX[] = "LabelX";
// label: y:
inline constexpr char LabelY[] = "LabelY";
// status line: the pointer position
inline constexpr char StatusBar1[] = "StatusBar1";
// the picture: the plan of the obstacles
inline constexpr char ObsImg[] = "ObsImg";
// the map under the plan
inline constexpr char MapImg[] = "MapImg";
// the desktop program's own widgets (object names of labels, groups and menus)
// menu: File
inline constexpr char MenuObsFile[] = "MenuObsFile";
// menu item: Close
inline constexpr char CloseItem[] = "CloseItem";
// label: File:
inline constexpr char LabelDat[] = "LabelDat";
// group: Obstacle kinds
inline constexpr char GroupKind[] = "GroupKind";
// group: Obstacle
inline constexpr char GroupEdit[] = "GroupEdit";
// label: Obstacle no.
inline constexpr char LabelNr[] = "LabelNr";
// label: Angle (°)
inline constexpr char LabelRot[] = "LabelRot";
// group: Plan
inline constexpr char GroupScale[] = "GroupScale";
// label: Scale (m/pixel)
inline constexpr char LabelScale[] = "LabelScale";
// label: Yardstick (m)
inline constexpr char LabelYardstick[] = "LabelYardstick";
// label: Altitude (m)
inline constexpr char LabelAlt[] = "LabelAlt";
// up-down: steps the obstacle number
inline constexpr char UpDownNr[] = "UpDownNr";
// menu: Edit
inline constexpr char MenuObsEdit[] = "MenuObsEdit";
// menu item: Undo
inline constexpr char UndoItem[] = "UndoItem";
// menu item: Redo
inline constexpr char RedoItem[] = "RedoItem";
}  // namespace obstacle_editor

// What the three obstacle dialogs share (GebForm, LaubForm, NadelForm).
namespace obstacle_dialog {
// field: albedo, 0 to 1 (default "0.30")
inline constexpr char EditAlb[] = "EditAlb";
// field: emission coefficient, 0 to 1 (default "0.95")
inline constexpr char EditEmi[] = "EditEmi";
// button: OK
inline constexpr char OKBtn[] = "OKBtn";
// button: Cancel
inline constexpr char CancelBtn[] = "CancelBtn";
// label: x-coord. (m)
inline constexpr char LabelX[] = "LabelX";
// label: y-coord. (m)
inline constexpr char LabelY[] = "LabelY";
// label: Albedo
inline constexpr char LabelAlb[] = "LabelAlb";
// label: Emission coeff.
inline constexpr char LabelEmi[] = "LabelEmi";
// label: z-coord. (m)
inline constexpr char LabelZ[] = "LabelZ";
}  // namespace obstacle_dialog

// The building dialog ("GebForm").
namespace building_dialog {
// the window's own name: its section in the session file and the prefix of a qualified name
inline constexpr char kForm[] = "GebForm";
// field: x-coord. of corner #1 (m), top
inline constexpr char EditX1[] = "EditX1";
// field: y-coord. of corner #1 (m), top
inline constexpr char EditY1[] = "EditY1";
// field: z-coord. of corner #1 (m), top
inline constexpr char EditZ1[] = "EditZ1";
// field: x-coord. of corner #2 (m), top
inline constexpr char EditX2[] = "EditX2";
// field: y-coord. of corner #2 (m), top
inline constexpr char EditY2[] = "EditY2";
// field: z-coord. of corner #2 (m), top
inline constexpr char EditZ2[] = "EditZ2";
// field: x-coord. of corner #3 (m), top
inline constexpr char EditX3[] = "EditX3";
// field: y-coord. of corner #3 (m), top
inline constexpr char EditY3[] = "EditY3";
// field: z-coord. of corner #3 (m), top
inline constexpr char EditZ3[] = "EditZ3";
// field: x-coord. of corner #4 (m), top
inline constexpr char EditX4[] = "EditX4";
// field: y-coord. of corner #4 (m), top
inline constexpr char EditY4[] = "EditY4";
// field: z-coord. of corner #4 (m), top
inline constexpr char EditZ4[] = "EditZ4";
// field: x-coord. of corner #1 (m), bottom
inline constexpr char EditX5[] = "EditX5";
// field: y-coord. of corner #1 (m), bottom
inline constexpr char EditY5[] = "EditY5";
// field: z-coord. of corner #1 (m), bottom
inline constexpr char EditZ5[] = "EditZ5";
// field: x-coord. of corner #2 (m), bottom
inline constexpr char EditX6[] = "EditX6";
// field: y-coord. of corner #2 (m), bottom
inline constexpr char EditY6[] = "EditY6";
// field: z-coord. of corner #2 (m), bottom
inline constexpr char EditZ6[] = "EditZ6";
// field: x-coord. of corner #3 (m), bottom
inline constexpr char EditX7[] = "EditX7";
// field: y-coord. of corner #3 (m), bottom
inline constexpr char EditY7[] = "EditY7";
// field: z-coord. of corner #3 (m), bottom
inline constexpr char EditZ7[] = "EditZ7";
// field: x-coord. of corner #4 (m), bottom
inline constexpr char EditX8[] = "EditX8";
// field: y-coord. of corner #4 (m), bottom
inline constexpr char EditY8[] = "EditY8";
// field: z-coord. of corner #4 (m), bottom
inline constexpr char EditZ8[] = "EditZ8";
// label: Top corners #1 - #4
inline constexpr char LabelTop[] = "LabelTop";
// label: Bottom corners #1 - #4
inline constexpr char LabelBottom[] = "LabelBottom";
}  // namespace building_dialog

// The deciduous-tree and conifer dialogs, which have the same fields.
namespace tree_dialog {
// the two dialogs' own names
inline constexpr char kDeciduousForm[] = "LaubForm";
inline constexpr char kConiferForm[] = "NadelForm";
// field: x-coord. of the trunk (m)
inline constexpr char EditX[] = "EditX";
// field: y-coord. of the trunk (m)
inline constexpr char EditY[] = "EditY";
// field: z-coord. (m)
inline constexpr char EditZ[] = "EditZ";
// field: crown radius r (m)
inline constexpr char EditR[] = "EditR";
// field: trunk length l (m)
inline constexpr char EditS[] = "EditS";
// field: trunk diameter d (m)
inline constexpr char EditD[] = "EditD";
// label: Crown radius r (m)
inline constexpr char LabelR[] = "LabelR";
// label: Trunc length l (m)
inline constexpr char LabelS[] = "LabelS";
// label: Trunc diam. d (m)
inline constexpr char LabelD[] = "LabelD";
}  // namespace tree_dialog
}  // namespace umbrix
