#pragma once
// The output window's charts: the last data table or daily data as a heat map, time series,
// hours per stress class or the daily course, chosen by kind and column(s); saved as SVG or
// PNG, or copied as a picture.
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "charts/ChartData.h"
#include "charts/Charts.h"

class QComboBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace umbrix {
class Application;
}

namespace umbrix::ui {

class ChartsPage : public QWidget {
    Q_OBJECT
  public:
    explicit ChartsPage(Application& app, QWidget* parent = nullptr);
    // Takes the table of the last run anew when it changed (or the language did) and draws.
    void refresh();
    // The chart shown; nullptr while a message stands in its place.
    QWidget* chart() const { return chart_; }
    QString message() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void fillChoices();
    void kindChosen();
    void draw();
    std::optional<charts::ChartChoice> choice() const;
    void save();
    void copy();
    charts::ChartSize pictureSize() const;
    void showMessage(const QString& text);
    bool german() const;

    Application& app_;
    charts::ChartData data_;
    std::vector<charts::ChartKind> kinds_;  // the kinds the combo offers, in its order
    bool dailyShown_ = false;               // the kinds are those of daily data
    // what the data were taken from (rows, columns, the last row, the language), to take them
    // anew only when the table changed
    std::string taken_;
    QComboBox* kind_ = nullptr;
    QLabel* columnLabel_ = nullptr;
    std::vector<QComboBox*> columns_;  // the first column, then up to three more for series
    QPushButton* save_ = nullptr;
    QPushButton* copy_ = nullptr;
    QVBoxLayout* area_ = nullptr;
    QWidget* chart_ = nullptr;
    QLabel* message_ = nullptr;
};

}  // namespace umbrix::ui
