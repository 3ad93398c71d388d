#include "ui/OutputTable.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSortFilterProxyModel>
#include <algorithm>
#include <cmath>
#include <map>

namespace umbrix::ui {

const QString OutputTableModel::kMissing = QString::fromUtf8("\u2013");

OutputTableModel::OutputTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void OutputTableModel::show(const TableValues* values) {
    beginResetModel();
    values_ = values;
    columns_ = values ? int(values->columns.size()) : 0;
    rows_ = values ? int(values->rows.size()) : 0;
    dateColumn_ = timeColumn_ = -1;
    for (int c = 0; c < columns_; ++c) {
        const ColumnKind kind = values->columns[std::size_t(c)].kind;
        if (kind == ColumnKind::Date && dateColumn_ < 0) dateColumn_ = c;
        if (kind == ColumnKind::Time && timeColumn_ < 0) timeColumn_ = c;
    }
    endResetModel();
}

int OutputTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int OutputTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

// The table may change under the view until its next refresh (a run paints while it adds rows,
// "New" clears them): cells beyond the table as it stands are empty.
bool OutputTableModel::holds(int row, int column) const {
    return values_ && row >= 0 && column >= 0 && std::size_t(row) < values_->rows.size() &&
           std::size_t(column) < values_->columns.size();
}

const TableValue& OutputTableModel::value(int row, int column) const {
    static const TableValue none;
    if (!holds(row, column)) return none;
    const auto& cells = values_->rows[std::size_t(row)];
    return std::size_t(column) < cells.size() ? cells[std::size_t(column)] : none;
}

bool OutputTableModel::isMissing(int row, int column) const {
    const TableValue& v = value(row, column);
    if (std::holds_alternative<std::monostate>(v)) return true;
    if (const double* x = std::get_if<double>(&v))
        return !std::isfinite(*x) || float(*x) == values_->missingValue;
    return false;
}

QString OutputTableModel::text(int row, int column) const {
    if (!holds(row, column)) return {};
    if (isMissing(row, column)) return kMissing;
    const TableValue& v = value(row, column);
    const TableColumn& c = values_->columns[std::size_t(column)];
    if (const auto* s = std::get_if<std::string>(&v)) return QString::fromStdString(*s);
    if (const auto* d = std::get_if<Date>(&v))
        return QString::asprintf("%04d-%02d-%02d", d->year, d->month, d->day);
    const double x = std::get<double>(v);
    if (c.kind == ColumnKind::Time) {
        const long minutes = std::lround(x * 60);
        return QString::asprintf("%ld:%02ld", minutes / 60, minutes % 60);
    }
    return QString::number(x, 'f', std::clamp(c.decimals, 0, 9));
}

QVariant OutputTableModel::data(const QModelIndex& index, int role) const {
    const int row = index.row(), column = index.column();
    if (!index.isValid() || !holds(row, column)) return {};
    switch (role) {
        case Qt::DisplayRole:
            return text(row, column);
        case Qt::ToolTipRole: {
            if (!isMissing(row, column) || !reason_) return {};
            QStringList names, shown;
            for (int c = 0; c < int(values_->columns.size()); ++c) {
                names << QString::fromStdString(values_->columns[std::size_t(c)].name);
                shown << text(row, c);
            }
            return reason_(names, shown, column);
        }
        case Qt::TextAlignmentRole: {
            const bool number = values_->columns[std::size_t(column)].kind == ColumnKind::Number;
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (number ? Qt::AlignRight : Qt::AlignLeft));
        }
        case SortRole: {
            if (isMissing(row, column)) return {};  // missing values sort first
            const TableValue& v = value(row, column);
            if (const auto* s = std::get_if<std::string>(&v)) return QString::fromStdString(*s);
            if (const auto* d = std::get_if<Date>(&v)) return qlonglong(DateToSerial(*d));
            return std::get<double>(v);
        }
        default:
            return {};
    }
}

QVariant OutputTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || !values_) return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || std::size_t(section) >= values_->columns.size()) return {};
        const TableColumn& c = values_->columns[std::size_t(section)];
        const QString name = QString::fromStdString(c.name).trimmed();
        return c.unit.empty() ? name : name + "\n" + QString::fromStdString(c.unit).trimmed();
    }
    if (!holds(section, 0)) return {};
    // the row's date and time stay in sight beside any column
    QStringList parts;
    for (int c : {dateColumn_, timeColumn_})
        if (c >= 0) parts << text(section, c);
    return parts.isEmpty() ? QString::number(section + 1) : parts.join(' ');
}

// ---------------------------------------------------------------------------

OutputTableView::OutputTableView(QWidget* parent)
    : QTableView(parent),
      model_(new OutputTableModel(this)),
      proxy_(new QSortFilterProxyModel(this)) {
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(OutputTableModel::SortRole);
    setModel(proxy_);
    setSortingEnabled(true);
    sortByColumn(-1, Qt::AscendingOrder);  // the rows in the order computed until a click
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAlternatingRowColors(true);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsMovable(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

void OutputTableView::show(const TableValues& values) {
    // a refresh follows every user action: the view is reset only when the table changed
    const std::vector<TableValue> last =
        values.rows.empty() ? std::vector<TableValue>{} : values.rows.back();
    if (model_->rowCount() > 0 && values.rows.size() == shownRows_ &&
        values.columns.size() == shownColumns_ && last == shownLast_)
        return;
    const bool firstColumns = shownColumns_ != values.columns.size();
    shownRows_ = values.rows.size();
    shownColumns_ = values.columns.size();
    shownLast_ = last;
    model_->show(&values);
    if (firstColumns) resizeColumnsToContents();
}

QString OutputTableView::selectedText() const {
    const QModelIndexList selected =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList{};
    // by the row and column shown
    std::map<int, std::map<int, QString>> cells;
    for (const QModelIndex& index : selected) {
        const QModelIndex source = proxy_->mapToSource(index);
        const QString text = model_->isMissing(source.row(), source.column())
                                 ? QString()
                                 : model_->text(source.row(), source.column());
        cells[index.row()][index.column()] = text;
    }
    if (cells.empty()) return {};
    int first = INT_MAX, last = INT_MIN;
    for (const auto& [row, columns] : cells) {
        first = std::min(first, columns.begin()->first);
        last = std::max(last, columns.rbegin()->first);
    }
    QString out;
    for (const auto& [row, columns] : cells) {
        QStringList fields;
        for (int c = first; c <= last; ++c) {
            auto it = columns.find(c);
            fields << (it == columns.end() ? QString() : it->second);
        }
        out += fields.join('\t') + '\n';
    }
    return out;
}

void OutputTableView::copy() const {
    QApplication::clipboard()->setText(selectedText());
}

void OutputTableView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copy();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace umbrix::ui
