#include "ui/Layout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace umbrix::ui {

namespace {
template <class W>
W* named(W* widget, const std::string& name) {
    widget->setObjectName(QString::fromStdString(name));
    return widget;
}
}  // namespace

QLineEdit* NamedEdit(QWidget* parent, const std::string& name, int maxLength) {
    auto* edit = named(new QLineEdit(parent), name);
    if (maxLength > 0) edit->setMaxLength(maxLength);
    edit->setMinimumWidth(80);
    return edit;
}

QLabel* NamedLabel(QWidget* parent, const std::string& name) {
    return named(new QLabel(QString::fromStdString(name), parent), name);
}

QCheckBox* NamedCheck(QWidget* parent, const std::string& name) {
    return named(new QCheckBox(QString::fromStdString(name), parent), name);
}

QPushButton* NamedButton(QWidget* parent, const std::string& name) {
    return named(new QPushButton(QString::fromStdString(name), parent), name);
}

QGroupBox* NamedGroup(QWidget* parent, const std::string& name) {
    return named(new QGroupBox(QString::fromStdString(name), parent), name);
}

void LabelledField(QGridLayout* grid, int row, int column, const std::string& label,
                   QWidget* widget) {
    QLabel* text = NamedLabel(widget->parentWidget(), label);
    text->setBuddy(widget);
    grid->addWidget(text, row, column);
    grid->addWidget(widget, row, column + 1);
}

}  // namespace umbrix::ui
