#include "series/RecordSource.h"

namespace umbrix {

namespace {

class DataFileSource : public RecordSource {
  public:
    explicit DataFileSource(const DataFileSettings& settings) : reader_(settings) {}
    bool atEnd() const override { return reader_.atEnd(); }
    DataRecord next() override { return reader_.next(); }
    const std::vector<DataColumn>& columns() const override { return reader_.settings().columns; }
    double fractionRead() const override { return reader_.fractionRead(); }

  private:
    DataFileReader reader_;
};

class EpwSource : public RecordSource {
  public:
    explicit EpwSource(const DataFileSettings& settings)
        : reader_(settings.path, EpwOptions{settings.epwEndOfHour ? EpwTimeStamp::EndOfHour
                                                                  : EpwTimeStamp::MiddleOfHour,
                                            0}),
          missingValue_(settings.missingValue) {}
    bool atEnd() const override { return reader_.atEnd(); }
    DataRecord next() override { return ToDataRecord(reader_.next(), missingValue_); }
    const std::vector<DataColumn>& columns() const override { return EpwDataColumns(); }
    double fractionRead() const override { return reader_.fractionRead(); }
    const EpwSite* site() const override { return &reader_.site(); }
    std::int64_t droppedLeapDays() const override { return reader_.droppedLeapDays(); }

  private:
    EpwReader reader_;
    float missingValue_;
};

}  // namespace

std::unique_ptr<RecordSource> OpenRecordSource(const DataFileSettings& settings) {
    if (settings.epw) return std::make_unique<EpwSource>(settings);
    return std::make_unique<DataFileSource>(settings);
}

EpwSite ReadEpwSite(const std::string& path) {
    return EpwReader(path).site();
}

}  // namespace umbrix
