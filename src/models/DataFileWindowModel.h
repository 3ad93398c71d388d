#pragma once
// The data-file window: the data file of a time-series run, its column selection and reading
// formats, the default for missing values and "Output in file".
#include <string>
#include <vector>

#include "platform/FormModel.h"
#include "series/DataFile.h"

namespace umbrix {

class Application;

class DataFileWindowModel : public FormModel {
  public:
    explicit DataFileWindowModel(Application& app);

    // The items of CheckListBox1 in their initial order.
    static const std::vector<std::string>& ColumnItems();

    // The text of "Datafile:" when no file is chosen.
    static constexpr const char* kNoFile = "(none - keine)";

    // The column list as it stands: the quantity of each item, top to bottom.
    std::vector<DataColumn> columnOrder() const;
    // The checked columns in file order.
    std::vector<DataColumn> checkedColumns() const;
    bool isColumn(DataColumn column) const;

    // Dragging item `from` of the column list onto item `to` (moveItem of CheckListBox1): the
    // item moves there with its check mark. Afterwards "Air temperature Ta (°C)" must stand
    // above both humidity items; if it does not, it exchanges places with the higher of them,
    // both keeping their check marks.
    void moveColumn(int from, int to);
    // The command line's column choice: exactly these columns checked, in this order, at the
    // top of the list. Throws UmbrixError naming a column that is unknown, given twice, excluded
    // by another one, or a humidity column before "Ta".
    void selectColumns(const std::vector<std::string>& names);
    // The column list from the labels in the data file's first line ("Columns from labels", and
    // --columns auto): those columns checked in their order, "Skip first row (labels)" checked.
    // Throws ColumnLabelError naming the labels that name no column, FileError when there is
    // no file to read.
    void columnsFromLabels();

    // The data file as the open dialog chooses it (an EPW weather file or not), "Datafile"
    // checked; a project file's data file.
    void useDataFile(const std::string& path, bool epw);
    // The full path of the chosen data file (empty when none).
    const std::string& fileName() const { return fileName_; }
    // The chosen file is an EPW weather file (file type "EPW weather file (*.epw)"): its
    // columns are fixed and its header gives the location.
    bool isEpw() const { return epw_; }
    // The settings a run reads: columns, formats, separator, missing-value default (throws
    // ConvertError when "Default for missing values" is not a number).
    DataFileSettings dataFileSettings() const;
    // The horizon azimuth increment in degrees: the first two characters of ComboHorAz.
    int horizonIncrement() const;
    // The field separator of ComboFileSep: TAB for "Space or Tab".
    char fieldSeparator() const;

  protected:
    void onClick(const std::string& name) override;
    void onItemChecked(const std::string& name, int index) override;
    void onItemMoved(const std::string& name, int from, int to) override;

  private:
    void openDataFile();
    void useCurrentData();
    int indexOf(DataColumn column) const;
    void uncheck(DataColumn column);
    void updateHorizonEnabling();

    Application& app_;
    std::string fileName_;
    bool epw_ = false;
};

}  // namespace umbrix
