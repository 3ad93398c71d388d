#include "ui/ChartsPage.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <variant>

#include "charts/ChartView.h"
#include "charts/TableChartData.h"
#include "models/Application.h"
#include "models/ComponentNames.h"
#include "models/DataFileWindowModel.h"
#include "models/OutputWindowModel.h"

namespace umbrix::ui {

using charts::ChartKind;

namespace {

const char* const kColumnNames[] = {output_window::ChartColumn, output_window::ChartColumn2,
                                    output_window::ChartColumn3, output_window::ChartColumn4};

QString KindName(ChartKind kind, bool german) {
    switch (kind) {
        case ChartKind::Heatmap:
            return german ? "Tag und Stunde" : "Day and hour";
        case ChartKind::Series:
            return german ? "Zeitreihen" : "Time series";
        case ChartKind::Classes:
            return german ? "Belastungsklassen je Monat" : "Stress classes per month";
        case ChartKind::Daily:
            return german ? "Tageswerte" : "Daily data";
    }
    return {};
}

bool IsDailyData(const charts::ChartData& data) {
    return data.hoursPerRow == 24 && data.column("SDmax") && data.column("GmaxSum");
}

// What the chart's rows are taken from, short: enough to see that a run wrote another table.
std::string TableSignature(const TableValues& table, bool german) {
    std::string s = std::to_string(table.rows.size()) + (german ? "de" : "en");
    for (const TableColumn& c : table.columns) s += "|" + c.name;
    for (size_t r : {size_t(0), table.rows.size() - 1}) {
        if (r >= table.rows.size()) break;
        for (const TableValue& v : table.rows[r])
            if (const double* x = std::get_if<double>(&v)) s += "," + std::to_string(*x);
    }
    return s;
}

}  // namespace

ChartsPage::ChartsPage(Application& app, QWidget* parent) : QWidget(parent), app_(app) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    auto* kindLabel = new QLabel("Chart:", this);
    kindLabel->setObjectName(output_window::ChartKindLabel);
    row->addWidget(kindLabel);
    kind_ = new QComboBox(this);
    kind_->setObjectName(output_window::ChartKind);
    row->addWidget(kind_);
    columnLabel_ = new QLabel("Columns:", this);
    columnLabel_->setObjectName(output_window::ChartColumnLabel);
    row->addWidget(columnLabel_);
    for (const char* name : kColumnNames) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(name);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        row->addWidget(combo);
        columns_.push_back(combo);
        connect(combo, &QComboBox::activated, this, &ChartsPage::draw);
    }
    row->addStretch(1);
    save_ = new QPushButton("Save as...", this);
    save_->setObjectName(output_window::ChartSaveBtn);
    row->addWidget(save_);
    copy_ = new QPushButton("Copy", this);
    copy_->setObjectName(output_window::ChartCopyBtn);
    row->addWidget(copy_);
    column->addLayout(row);
    area_ = new QVBoxLayout;
    column->addLayout(area_, 1);
    message_ = new QLabel(this);
    message_->setObjectName(output_window::ChartMessage);
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    area_->addWidget(message_);

    connect(kind_, &QComboBox::activated, this, &ChartsPage::kindChosen);
    connect(save_, &QPushButton::clicked, this, &ChartsPage::save);
    connect(copy_, &QPushButton::clicked, this, &ChartsPage::copy);
}

bool ChartsPage::german() const {
    return app_.language() == Language::German;
}

QString ChartsPage::message() const {
    return message_->isVisible() || !chart_ ? message_->text() : QString();
}

void ChartsPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void ChartsPage::refresh() {
    const TableValues& table = app_.outputWindow().tableValues();
    const std::string signature = TableSignature(table, german());
    if (signature == taken_) return;
    taken_ = signature;
    const TextLanguage language = german() ? TextLanguage::German : TextLanguage::English;
    try {
        data_ = charts::ChartDataFromTable(table, language);
    } catch (const charts::ChartError& e) {
        data_ = charts::ChartData{};
        fillChoices();
        return showMessage(QString::fromStdString(e.what()));
    }
    fillChoices();  // and draws
}

// The kinds that suit the table and its columns, keeping what was chosen where it still is.
void ChartsPage::fillChoices() {
    const bool de = german();
    const int current = kind_->currentIndex();
    const ChartKind chosen = current >= 0 ? kinds_.at(size_t(current)) : ChartKind::Heatmap;
    kinds_.clear();
    if (IsDailyData(data_)) {
        kinds_ = {ChartKind::Daily, ChartKind::Series};
    } else {
        kinds_ = {ChartKind::Heatmap, ChartKind::Series};
        for (const char* index : {"UTCI", "PET", "PMV", "PT"})
            if (data_.column(index)) {
                kinds_.push_back(ChartKind::Classes);
                break;
            }
    }
    kind_->clear();
    for (ChartKind k : kinds_) kind_->addItem(KindName(k, de));
    // a daily course after a data table (or the reverse) starts at its own first kind
    const bool daily = kinds_.front() == ChartKind::Daily;
    const auto at =
        daily == dailyShown_ ? std::find(kinds_.begin(), kinds_.end(), chosen) : kinds_.end();
    dailyShown_ = daily;
    kind_->setCurrentIndex(at == kinds_.end() ? 0 : int(at - kinds_.begin()));
    kindChosen();
}

// The columns the kind can draw; first UTCI (Ta for a time series) where the table has it.
void ChartsPage::kindChosen() {
    const ChartKind kind = kinds_.at(size_t(std::max(0, kind_->currentIndex())));
    const QString none = german() ? "(keine)" : "(none)";
    for (size_t i = 0; i < columns_.size(); ++i) {
        QComboBox* combo = columns_[i];
        const QString chosen = combo->currentText();
        combo->clear();
        if (i > 0) combo->addItem(none);
        for (const charts::ChartColumn& c : data_.columns()) {
            if (kind == ChartKind::Classes && !StressIndexFromName(c.key)) continue;
            combo->addItem(QString::fromStdString(c.name()), QString::fromStdString(c.key));
        }
        int at = combo->findText(chosen);
        if (at < 0 && i == 0)
            at = std::max(0, combo->findData(kind == ChartKind::Series ? "Ta" : "UTCI"));
        combo->setCurrentIndex(std::max(0, at));
        combo->setVisible(kind == ChartKind::Series ? true : i == 0 && kind != ChartKind::Daily);
    }
    columnLabel_->setVisible(kind != ChartKind::Daily);
    columnLabel_->setText(kind == ChartKind::Series ? (german() ? "Spalten:" : "Columns:")
                                                    : (german() ? "Spalte:" : "Column:"));
    draw();
}

std::optional<charts::ChartChoice> ChartsPage::choice() const {
    if (kind_->currentIndex() < 0) return std::nullopt;
    charts::ChartChoice choice;
    choice.kind = kinds_.at(size_t(kind_->currentIndex()));
    if (choice.kind == ChartKind::Daily) return choice;
    for (QComboBox* combo : columns_) {
        if (!combo->isVisibleTo(this) || !combo->currentData().isValid()) continue;
        const std::string key = combo->currentData().toString().toStdString();
        if (std::find(choice.columns.begin(), choice.columns.end(), key) == choice.columns.end())
            choice.columns.push_back(key);
    }
    if (choice.columns.empty()) return std::nullopt;
    return choice;
}

void ChartsPage::draw() {
    if (chart_) {
        delete chart_;
        chart_ = nullptr;
    }
    const std::optional<charts::ChartChoice> chosen = choice();
    if (data_.rows() == 0 && data_.columns().empty()) {
        // "Output in file" sends the rows past the window
        const bool toFile = app_.dataFileWindow().checked(data_file_window::ChkInDatei);
        if (toFile)
            return showMessage(german() ? "Die Zeilen gingen in die Ausgabedatei. Grafiken zeigen "
                                          "eine Tabelle im Fenster: \"Ausgabe in Datei\" "
                                          "abwählen und neu rechnen."
                                        : "The rows went into the output file. Charts show a "
                                          "table in the window: uncheck \"Output in file\" and "
                                          "run again.");
        return showMessage(german() ? "Grafiken zeigen die Datentabelle oder die Tageswerte des "
                                      "letzten Laufs im Fenster: zuerst \"Neu\"."
                                    : "Charts show the last data table or daily data in the "
                                      "window: run \"New\" first.");
    }
    if (!chosen) return showMessage(german() ? "Keine Spalte gewählt." : "No column chosen.");
    try {
        chart_ = charts::CreateChartView(data_, *chosen, this);
    } catch (const std::exception& e) {
        return showMessage(QString::fromStdString(e.what()));
    }
    chart_->setObjectName(output_window::ChartPicture);
    message_->hide();
    message_->clear();
    area_->addWidget(chart_, 1);
    chart_->show();  // now, not once the event loop comes round
    save_->setEnabled(true);
    copy_->setEnabled(true);
}

void ChartsPage::showMessage(const QString& text) {
    if (chart_) {
        delete chart_;
        chart_ = nullptr;
    }
    message_->setText(text);
    message_->show();
    save_->setEnabled(false);
    copy_->setEnabled(false);
}

charts::ChartSize ChartsPage::pictureSize() const {
    const QSize shown = chart_ ? chart_->size() : QSize();
    return {std::clamp(shown.width(), charts::kMinChartSide, charts::kMaxChartSide),
            std::clamp(shown.height(), charts::kMinChartSide, charts::kMaxChartSide)};
}

// The chart at the size it is shown, as SVG or PNG by the file's extension.
void ChartsPage::save() {
    const std::optional<charts::ChartChoice> chosen = choice();
    if (!chart_ || !chosen) return;
    FileDialogOptions o;
    o.title = german() ? "Speichern unter" : "Save as";
    o.filter = german() ? "SVG-Grafik (*.svg)|*.svg|PNG-Bild (*.png)|*.png"
                        : "SVG picture (*.svg)|*.svg|PNG picture (*.png)|*.png";
    o.defaultExt = "svg";
    const std::optional<std::string> path = app_.host().saveFileDialog(o);
    if (!path) return;
    std::string file = *path;
    if (!charts::ChartFormatOfPath(file)) file += o.filterIndex == 2 ? ".png" : ".svg";
    try {
        app_.checkOutputFile(file);
        charts::SaveChart(data_, *chosen, file, pictureSize());
    } catch (const std::exception& e) {
        app_.host().showMessage(e.what(), MessageKind::Error);
    }
}

void ChartsPage::copy() {
    const std::optional<charts::ChartChoice> chosen = choice();
    if (!chart_ || !chosen) return;
    QApplication::clipboard()->setImage(charts::RenderChartImage(data_, *chosen, pictureSize()));
}

}  // namespace umbrix::ui
