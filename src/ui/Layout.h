#pragma once
// Widgets named for binding: every widget gets its control's (or its view-only) name as its
// objectName; the caption tables and the model give the texts.
#include <string>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace umbrix::ui {

QLineEdit* NamedEdit(QWidget* parent, const std::string& name, int maxLength = 0);
QLabel* NamedLabel(QWidget* parent, const std::string& name);
QCheckBox* NamedCheck(QWidget* parent, const std::string& name);
QPushButton* NamedButton(QWidget* parent, const std::string& name);
QGroupBox* NamedGroup(QWidget* parent, const std::string& name);
// A label named `label` in (row, column) and the widget beside it; the label is its buddy.
void LabelledField(QGridLayout* grid, int row, int column, const std::string& label,
                   QWidget* widget);

}  // namespace umbrix::ui
