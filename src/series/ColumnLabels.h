#pragma once
// The column list of a data file from its first line, the labels: each label is a short name
// of the column list (`date time Ta RH v G`, any case) or an item text ("Air temperature Ta
// (°C)"). Labels are split as the data-file reader splits fields: at the field separator, at
// tabs, and (where a label is not one item text as a whole) at blanks, so that item texts
// with blanks in them can stand in a tab- or character-separated line and short names in a
// blank-separated one. The horizon column, which holds several fields, may carry its label
// once or over each of its fields.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Error.h"
#include "series/DataFile.h"

namespace umbrix {

// Labels that name no column (all of them), a label given twice, or a line without labels.
class ColumnLabelError : public UmbrixError {
  public:
    ColumnLabelError(std::vector<std::string> unknown, const std::string& message)
        : UmbrixError(message), unknown_(std::move(unknown)) {}
    const std::vector<std::string>& unknown() const { return unknown_; }

  private:
    std::vector<std::string> unknown_;
};

// The columns the labels name, in their order. separator: TAB for "Space or Tab", else the
// chosen character. source begins the error messages ("data file days.txt, line 1").
std::vector<DataColumn> ColumnsFromLabels(std::string_view line, char separator,
                                          std::string_view source = "labels");

// The columns named by the first line of the data file at path. Throws FileError when the file
// cannot be opened, ColumnLabelError as above, and for an empty file or an overlong line.
std::vector<DataColumn> ReadColumnLabels(const std::string& path, char separator);

// The separator a data file is read with: "," for a file ending in ".csv" (any case), else the
// chosen one.
char DataFileSeparatorFor(std::string_view path, char chosen);

}  // namespace umbrix
