#pragma once
// Where the records of a time-series run come from: a data file, or an EPW weather file read
// as a data file holding its converted values. The row loop reads either through this one
// interface.
#include <cstdint>
#include <memory>
#include <vector>

#include "series/DataFile.h"
#include "series/EpwFile.h"

namespace umbrix {

class RecordSource {
  public:
    virtual ~RecordSource() = default;
    // True when no further record follows.
    virtual bool atEnd() const = 0;
    // The next record (DataFileError for one that cannot be read).
    virtual DataRecord next() = 0;
    // The columns every record fills, in file order.
    virtual const std::vector<DataColumn>& columns() const = 0;
    // The share of the file read so far, 0 … 1, by bytes.
    virtual double fractionRead() const = 0;
    // The site of an EPW file's header; nullptr for a data file.
    virtual const EpwSite* site() const { return nullptr; }
    // Records of 29 February left out (an EPW file under a common run year).
    virtual std::int64_t droppedLeapDays() const { return 0; }
};

// Opens the source the settings describe (the errors of DataFileReader and EpwReader).
std::unique_ptr<RecordSource> OpenRecordSource(const DataFileSettings& settings);

// The site of an EPW file's header alone (the errors of EpwReader).
EpwSite ReadEpwSite(const std::string& path);

}  // namespace umbrix
