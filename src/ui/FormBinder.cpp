#include "ui/FormBinder.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

#include "ui/Bilingual.h"
#include "ui/Widgets.h"

namespace umbrix::ui {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Focus that leaves a field for another window, a popup or the menu bar does not leave it in
// the model's sense: the field is still where the user works.
bool leavesField(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

void setWidgetVisible(QWidget* w, bool visible) {
    // top-level windows follow their model's own visibility, not a control's
    if (!w->isWindow() && w->isVisibleTo(w->parentWidget()) != visible) w->setVisible(visible);
}

void setToolTip(QObject* o, const QString& tip) {
    if (auto* w = qobject_cast<QWidget*>(o)) {
        if (w->toolTip() != tip) w->setToolTip(tip);
        if (w->statusTip() != tip) w->setStatusTip(tip);
    } else if (auto* a = qobject_cast<QAction*>(o)) {
        if (a->toolTip() != tip && !tip.isEmpty()) a->setToolTip(tip);
        if (a->statusTip() != tip) a->setStatusTip(tip);
    }
}

}  // namespace

FormBinder::FormBinder(FormModel& model, QWidget* window, Dispatcher& dispatcher)
    : QObject(window), model_(model), window_(window), dispatcher_(dispatcher) {
    listener_ = model_.addListener([this](const std::string& control) { refresh(control); });
}

FormBinder::~FormBinder() {
    model_.removeListener(listener_);
}

QObject* FormBinder::object(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : bindings_[it->second].object.data();
}

void FormBinder::bindAll() {
    QList<QObject*> objects = window_->findChildren<QObject*>();
    objects.prepend(window_);
    for (QObject* o : objects) {
        const std::string name = o->objectName().toStdString();
        if (name.empty() || isBound(name)) continue;
        // an editable combo box's own line edit, menus' internal actions and the like
        if (!qobject_cast<QWidget*>(o) && !qobject_cast<QAction*>(o)) continue;
        if (Control* c = model_.find(name)) bind(o, *c);
    }
    refresh();
}

void FormBinder::act(const std::function<void()>& action, bool commit) {
    if (refreshing_) return;  // a widget echoing what the model just set
    dispatcher_.act(model_, action, commit);
}

void FormBinder::typed(const std::string& name, const QString& text) {
    auto it = byName_.find(name);
    if (it != byName_.end()) bindings_[it->second].pendingExit = true;
    act([this, name, t = text.toStdString()] { model_.type(name, t); }, false);
}

void FormBinder::left(const std::string& name) {
    auto it = byName_.find(name);
    if (it != byName_.end()) bindings_[it->second].pendingExit = false;
    act([this, name] { model_.leave(name); }, false);
}

void FormBinder::commitPending() {
    for (Binding& b : bindings_) {
        if (!b.pendingExit) continue;
        b.pendingExit = false;
        model_.leave(b.control->name);
    }
}

void FormBinder::forgetPending(const std::string& name) {
    auto it = byName_.find(name);
    if (it != byName_.end()) bindings_[it->second].pendingExit = false;
}

void FormBinder::bind(QObject* object, Control& control) {
    const std::string name = control.name;
    byName_[name] = bindings_.size();
    byObject_[object] = bindings_.size();
    bindings_.push_back(Binding{&control, object, {}, false, false});

    if (auto* edit = qobject_cast<QLineEdit*>(object)) {
        connect(edit, &QLineEdit::textEdited, this,
                [this, name](const QString& t) { typed(name, t); });
        connect(edit, &QLineEdit::returnPressed, this, [this, name] { left(name); });
        edit->installEventFilter(this);
    } else if (auto* combo = qobject_cast<QComboBox*>(object)) {
        connect(combo, &QComboBox::activated, this, [this, name](int index) {
            act([this, name, index] { model_.select(name, index); }, true);
        });
        if (QLineEdit* line = combo->lineEdit()) {
            connect(line, &QLineEdit::textEdited, this,
                    [this, name](const QString& t) { typed(name, t); });
            line->installEventFilter(this);
            byObject_[line] = byName_[name];
        }
    } else if (auto* list = qobject_cast<QListWidget*>(object)) {
        connect(list, &QListWidget::itemChanged, this, [this, name, list](QListWidgetItem* item) {
            const int row = list->row(item);
            const Control& c = model_.ctl(name);
            const bool want = item->checkState() == Qt::Checked;
            const bool has = row < int(c.itemChecked.size()) && c.itemChecked[row];
            if (row >= 0 && want != has)
                act([this, name, row, want] { model_.setItemChecked(name, row, want); }, true);
        });
        if (auto* checkList = qobject_cast<CheckListWidget*>(list))
            connect(checkList, &CheckListWidget::itemDragged, this, [this, name](int from, int to) {
                act([this, name, from, to] { model_.moveItem(name, from, to); }, true);
            });
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, name] { act([this, name] { model_.click(name); }, true); });
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        connect(action, &QAction::triggered, this,
                [this, name] { act([this, name] { model_.click(name); }, true); });
    } else if (auto* upDown = qobject_cast<UpDownWidget*>(object)) {
        connect(upDown, &UpDownWidget::stepped, this, [this, name](int direction) {
            act(
                [this, name, direction] {
                    const Control& c = model_.ctl(name);
                    model_.setPosition(name, c.position + direction * std::max(c.increment, 1));
                },
                true);
        });
    } else if (auto* spin = qobject_cast<QSpinBox*>(object)) {
        connect(spin, &QSpinBox::valueChanged, this, [this, name](int value) {
            act([this, name, value] { model_.setPosition(name, value); }, true);
        });
    } else if (auto* slider = qobject_cast<QSlider*>(object)) {
        connect(slider, &QSlider::valueChanged, this, [this, name](int value) {
            act([this, name, value] { model_.setPosition(name, value); }, true);
        });
    }
}

bool FormBinder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        auto* focus = static_cast<QFocusEvent*>(event);
        auto it = byObject_.find(watched);
        if (it != byObject_.end() && leavesField(focus->reason()) &&
            !dispatcher_.inputLocked(model_)) {
            Binding& b = bindings_[it->second];
            // a read-only field cannot be typed into and has no exit rule to run
            if (!b.control->readOnly || b.control->kind == ControlKind::Combo)
                left(b.control->name);
        }
    }
    return QObject::eventFilter(watched, event);
}

void FormBinder::refresh(const std::string& control) {
    refreshing_ = true;
    if (!control.empty()) {
        auto it = byName_.find(control);
        if (it != byName_.end()) refreshBinding(bindings_[it->second], true);
    }
    // A handler changes more than the control it names (enabling rules, other fields).
    for (Binding& b : bindings_) refreshBinding(b, false);
    refreshing_ = false;
}

void FormBinder::refreshBinding(Binding& b, bool named) {
    QObject* o = b.object;
    if (!o) return;
    const Control& c = *b.control;
    // while a long command runs, what takes input is locked; views and the progress bar not
    const bool takesInput = qobject_cast<QAction*>(o) || qobject_cast<QLineEdit*>(o) ||
                            qobject_cast<QComboBox*>(o) || qobject_cast<QAbstractButton*>(o) ||
                            qobject_cast<QListWidget*>(o) || qobject_cast<QSpinBox*>(o) ||
                            qobject_cast<QSlider*>(o) || qobject_cast<UpDownWidget*>(o);
    const bool enabled = c.enabled && !(takesInput && dispatcher_.inputLocked(model_));

    if (auto* action = qobject_cast<QAction*>(o)) {
        if (!c.caption.empty() && action->text() != qs(c.caption)) action->setText(qs(c.caption));
        // check items and the radio items whose group the model keeps
        b.everChecked =
            b.everChecked || c.checked || c.autoCheck || (action->actionGroup() != nullptr);
        if (action->isCheckable() != b.everChecked) action->setCheckable(b.everChecked);
        if (action->isChecked() != c.checked) action->setChecked(c.checked);
        if (action->isEnabled() != enabled) action->setEnabled(enabled);
        if (action->isVisible() != c.visible) action->setVisible(c.visible);
        setToolTip(action, BilingualPart(c.hint, dispatcher_.language()));
        return;
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (!w) return;
    if (!w->isWindow()) {
        if (w->isEnabled() != enabled) w->setEnabled(enabled);
        setWidgetVisible(w, c.visible);
    }
    setToolTip(w, BilingualPart(c.hint, dispatcher_.language()));

    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != qs(c.text)) edit->setText(qs(c.text));
        if (edit->isReadOnly() != c.readOnly) edit->setReadOnly(c.readOnly);
        // a refused entry is framed red until the field is typed into again
        if (edit->property("refused").toBool() != c.refused) {
            edit->setProperty("refused", c.refused);
            edit->setStyleSheet(c.refused ? "QLineEdit { border: 2px solid #d01c1c; }" : "");
        }
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QSignalBlocker block(combo);
        // the items are shown in the interface language unless the user types into the box
        std::vector<std::string> items = c.items;
        const bool translate = !combo->isEditable();
        QStringList shown;
        for (const auto& item : items)
            shown << (translate ? dispatcher_.itemText(model_, c, item) : qs(item));
        QStringList current;
        for (int i = 0; i < combo->count(); ++i) current << combo->itemText(i);
        if (current != shown) {
            combo->clear();
            combo->addItems(shown);
        }
        b.shownItems = std::move(items);
        if (combo->currentIndex() != c.itemIndex) combo->setCurrentIndex(c.itemIndex);
        if (combo->isEditable() && combo->currentText() != qs(c.text))
            combo->setEditText(qs(c.text));
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        QSignalBlocker block(list);
        if (b.shownItems != c.items || list->count() != int(c.items.size())) {
            list->clear();
            for (const auto& item : c.items) {
                auto* row = new QListWidgetItem(dispatcher_.itemText(model_, c, item), list);
                row->setFlags(row->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled);
            }
            b.shownItems = c.items;
        } else {
            for (int i = 0; i < list->count(); ++i) {
                QString t = dispatcher_.itemText(model_, c, c.items[i]);
                if (list->item(i)->text() != t) list->item(i)->setText(t);
            }
        }
        for (int i = 0; i < list->count(); ++i) {
            bool on = i < int(c.itemChecked.size()) && c.itemChecked[i];
            Qt::CheckState state = on ? Qt::Checked : Qt::Unchecked;
            // a row without check-state data draws no box: fresh rows get one even unchecked
            QListWidgetItem* row = list->item(i);
            if (!row->data(Qt::CheckStateRole).isValid() || row->checkState() != state)
                row->setCheckState(state);
        }
        if (c.itemIndex >= 0 && c.itemIndex < list->count() && list->currentRow() != c.itemIndex)
            list->setCurrentRow(c.itemIndex);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (!c.caption.empty() && button->text() != qs(c.caption)) button->setText(qs(c.caption));
        const bool checkable =
            c.kind == ControlKind::SpeedButton || c.kind == ControlKind::CheckBox;
        if (button->isCheckable() != checkable) button->setCheckable(checkable);
        if (checkable && button->isChecked() != c.checked) {
            QSignalBlocker block(button);
            button->setChecked(c.checked);
        }
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        // a status line shows hints, which hold both languages
        const QString text = c.name.starts_with("StatusBar")
                                 ? BilingualPart(c.caption, dispatcher_.language())
                                 : qs(c.caption);
        if (label->text() != text) label->setText(text);
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        QSignalBlocker block(spin);
        spin->setRange(c.minimum, std::max(c.minimum, c.maximum));
        spin->setSingleStep(std::max(c.increment, 1));
        if (spin->value() != c.position) spin->setValue(c.position);
    } else if (auto* slider = qobject_cast<QSlider*>(w)) {
        QSignalBlocker block(slider);
        slider->setRange(c.minimum, std::max(c.minimum, c.maximum));
        slider->setSingleStep(std::max(c.increment, 1));
        if (slider->value() != c.position) slider->setValue(c.position);
    } else if (auto* picture = qobject_cast<PictureView*>(w)) {
        picture->showPicture(c.picture, c.image, named);
    }
}

void FormBinder::createMissing(QFormLayout* layout, QMenu* menu) {
    QWidget* parent = layout ? layout->parentWidget() : window_;
    for (const auto& owned : model_.controls()) {
        Control& c = *owned;
        if (isBound(c.name)) continue;
        QObject* made = nullptr;
        // a row of the layout, with the control's name as its label where `labelled`
        auto row = [&](QWidget* widget, bool labelled) {
            if (labelled)
                layout->addRow(qs(c.name), widget);
            else
                layout->addRow(widget);
            made = widget;
        };
        if (c.kind == ControlKind::MenuItem) {
            if (menu) made = menu->addAction(qs(c.caption.empty() ? c.name : c.caption));
        } else if (layout) {
            switch (c.kind) {
                case ControlKind::Edit:
                    row(new QLineEdit(parent), true);
                    break;
                case ControlKind::Combo:
                case ControlKind::RadioGroup: {
                    auto* combo = new QComboBox(parent);
                    combo->setEditable(c.kind == ControlKind::Combo && !c.readOnly);
                    if (combo->isEditable()) combo->setInsertPolicy(QComboBox::NoInsert);
                    row(combo, true);
                    break;
                }
                case ControlKind::CheckBox:
                    row(new QCheckBox(parent), false);
                    break;
                case ControlKind::Button:
                case ControlKind::SpeedButton: {
                    // a glyph button: the English part of its bilingual hint names it
                    std::string text =
                        c.caption.empty() ? c.hint.substr(0, c.hint.find(" - ")) : c.caption;
                    row(new QPushButton(qs(text.empty() ? c.name : text), parent), false);
                    break;
                }
                case ControlKind::Label: {
                    auto* text = new QLabel(parent);
                    text->setWordWrap(true);
                    row(text, false);
                    break;
                }
                case ControlKind::CheckList:
                    row(new CheckListWidget(parent), true);
                    break;
                case ControlKind::UpDown:
                case ControlKind::TrackBar:
                    row(new QSpinBox(parent), true);
                    break;
                case ControlKind::Other:
                    // pictures a model hands over; other stand-ins (dialogs, memos) show nothing
                    if (c.picture || c.image) row(new PictureView(parent), false);
                    break;
                case ControlKind::MenuItem:
                    break;
            }
        }
        if (!made) continue;
        made->setObjectName(qs(c.name));
        bind(made, c);
    }
    refresh();
}

}  // namespace umbrix::ui
