#pragma once
// The output window's table as a table view: the values of the last table (the text view's
// table) in resizable, sortable columns; each row's date and time in the row header so that
// they stay in sight while scrolling sideways; Ctrl+C copies the selection as tab-separated text.
#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <functional>

#include "models/TableWriter.h"

class QSortFilterProxyModel;

namespace umbrix::ui {

// Why a missing field has no value, from the column names, the row's shown texts and the column.
using MissingReasonFn =
    std::function<QString(const QStringList& names, const QStringList& row, int column)>;

class OutputTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The value a column sorts by.
    static constexpr int SortRole = Qt::UserRole;
    static const QString kMissing;  // what a missing value shows: "–"

    explicit OutputTableModel(QObject* parent = nullptr);
    // Shows the table held by `values` (kept by reference: it must outlive the model), as it
    // stands now.
    void show(const TableValues* values);
    void setMissingReason(MissingReasonFn reason) { reason_ = std::move(reason); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    bool isMissing(int row, int column) const;
    QString text(int row, int column) const;

  private:
    bool holds(int row, int column) const;
    const TableValue& value(int row, int column) const;

    const TableValues* values_ = nullptr;
    int rows_ = 0;
    int columns_ = 0;
    int dateColumn_ = -1;
    int timeColumn_ = -1;
    MissingReasonFn reason_;
};

class OutputTableView : public QTableView {
    Q_OBJECT
  public:
    explicit OutputTableView(QWidget* parent = nullptr);
    OutputTableModel* tableModel() const { return model_; }
    // Brings the view up to date when the table changed since it was last shown.
    void show(const TableValues& values);
    // The selected cells in the order shown, one line per row, tab-separated; missing values
    // are empty fields.
    QString selectedText() const;
    // The selected cells to the clipboard as tab-separated text.
    void copy() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    OutputTableModel* model_;
    QSortFilterProxyModel* proxy_;
    std::size_t shownRows_ = 0;
    std::size_t shownColumns_ = 0;
    std::vector<TableValue> shownLast_;  // the last row when last shown
};

}  // namespace umbrix::ui
