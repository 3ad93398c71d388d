// The generic binding: a model of every control kind gets widgets named after its controls, and
// user actions and model changes travel both ways. Also the file dialog filter conversion.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

#include "platform/FormModel.h"
#include "platform/Raster.h"
#include "ui/FormBinder.h"
#include "ui/QtHost.h"
#include "ui/UiFixture.h"
#include "ui/Widgets.h"

namespace umbrix::ui::test {

namespace {

class KindsForm : public FormModel {
  public:
    explicit KindsForm(Host& host) : FormModel("FormKinds", host) {
        add("EditA", ControlKind::Edit, "1");
        Control& combo = add("ComboB", ControlKind::Combo, "x");
        combo.items = {"x", "y"};
        combo.itemIndex = 0;
        combo.readOnly = true;
        add("CheckC", ControlKind::CheckBox, "Check me");
        add("ButtonD", ControlKind::Button, "Press");
        add("ItemE", ControlKind::MenuItem, "Item").autoCheck = true;
        Control& list = add("ListF", ControlKind::CheckList);
        list.items = {"a", "b", "c"};
        list.itemChecked = {true, false, false};
        Control& up = add("UpG", ControlKind::UpDown);
        up.maximum = 100;
        up.increment = 5;
        add("LabelH", ControlKind::Label, "Label");
        add("ImageI", ControlKind::Other).image = std::make_shared<Raster>(20, 10, kBlack);
    }
    std::vector<std::string> log;

  protected:
    void onChange(const std::string& n) override { log.push_back("change " + n); }
    void onExit(const std::string& n) override {
        log.push_back("exit " + n);
        ctl(n).text = "[" + ctl(n).text + "]";
        ctl("LabelH").enabled = false;
    }
    void onClick(const std::string& n) override { log.push_back("click " + n); }
    void onSelect(const std::string& n) override { log.push_back("select " + n); }
    void onItemChecked(const std::string& n, int i) override {
        log.push_back("check " + n + " " + std::to_string(i));
    }
};

// Runs actions directly, as the desktop does outside a command.
class DirectDispatcher : public Dispatcher {
  public:
    std::vector<std::string> errors;
    void act(FormModel&, const std::function<void()>& action, bool) override {
        try {
            action();
        } catch (const std::exception& e) {
            errors.push_back(e.what());
        }
    }
    bool inputLocked(const FormModel&) const override { return false; }
    QString itemText(const FormModel&, const Control&, const std::string& item) const override {
        return QString::fromStdString(item).toUpper();
    }
};

}  // namespace

class BindingTest : public QObject {
    Q_OBJECT
  private slots:
    void generatedWidgetsCarryTheControlsBothWays();
    void nameFiltersAndDefaultExtensions_data();
    void nameFiltersAndDefaultExtensions();
    void defaultExtensionFollowsTheChosenFilter();
};

void BindingTest::generatedWidgetsCarryTheControlsBothWays() {
    QtHost host;
    KindsForm model(host);
    DirectDispatcher dispatcher;
    QWidget window;
    auto* form = new QFormLayout(&window);
    QMenu menu;
    auto* binder = new FormBinder(model, &window, dispatcher);
    binder->createMissing(form, &menu);

    auto* edit = window.findChild<QLineEdit*>("EditA");
    auto* combo = window.findChild<QComboBox*>("ComboB");
    auto* check = window.findChild<QCheckBox*>("CheckC");
    auto* button = window.findChild<QPushButton*>("ButtonD");
    auto* list = window.findChild<QListWidget*>("ListF");
    auto* spin = window.findChild<QSpinBox*>("UpG");
    auto* label = window.findChild<QLabel*>("LabelH");
    auto* picture = window.findChild<PictureView*>("ImageI");
    QAction* item = nullptr;
    for (QAction* a : menu.actions())
        if (a->objectName() == "ItemE") item = a;
    QVERIFY(edit && combo && check && button && list && spin && label && picture && item);
    QCOMPARE(edit->text(), QString("1"));
    QCOMPARE(combo->itemText(1), QString("Y"));  // shown through the item texts
    QCOMPARE(list->item(0)->checkState(), Qt::Checked);
    QCOMPARE(picture->image().size(), QSize(20, 10));
    QVERIFY(item->isCheckable());

    UiFixture::typeAndLeave(edit, "42");
    QCOMPARE(edit->text(), QString("[42]"));
    QVERIFY(!label->isEnabled());
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QCOMPARE(model.text("ComboB"), std::string("y"));
    check->click();
    QVERIFY(!model.checked("CheckC") == !check->isChecked());
    QVERIFY(model.checked("CheckC"));
    button->click();
    item->trigger();
    QVERIFY(model.checked("ItemE"));
    list->item(2)->setCheckState(Qt::Checked);
    QVERIFY(model.ctl("ListF").itemChecked[2]);
    spin->setValue(150);
    QCOMPARE(model.ctl("UpG").position, 100);  // the model keeps its range
    QCOMPARE(spin->value(), 100);
    // one change per keystroke (the backspace that empties the field, "4", "42"), one exit
    QCOMPARE(model.log,
             (std::vector<std::string>{"change EditA", "change EditA", "change EditA", "exit EditA",
                                       "select ComboB", "click CheckC", "click ButtonD",
                                       "click ItemE", "check ListF 2", "change UpG"}));

    // model to widgets: what a handler changes elsewhere shows at once
    model.ctl("ButtonD").enabled = false;
    model.ctl("CheckC").visible = false;
    model.ctl("ListF").items.push_back("d");
    model.ctl("ListF").itemChecked.push_back(true);
    model.ctl("ImageI").image = std::make_shared<Raster>(30, 40);
    model.changed("ImageI");
    QVERIFY(!button->isEnabled());
    QVERIFY(check->isHidden());
    QCOMPARE(list->count(), 4);
    QCOMPARE(list->item(3)->checkState(), Qt::Checked);
    QCOMPARE(picture->image().size(), QSize(30, 40));
    QVERIFY(dispatcher.errors.empty());
}

void BindingTest::nameFiltersAndDefaultExtensions_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("qt");
    QTest::newRow("plain") << "Text files|*.txt|All files|*.*"
                           << QStringList{"Text files (*.txt)", "All files (*.*)"};
    QTest::newRow("several patterns")
        << "Textfiles|*.txt;*.dat;*.asc|Csvfiles|*.csv"
        << QStringList{"Textfiles (*.txt *.dat *.asc)", "Csvfiles (*.csv)"};
    QTest::newRow("patterns already named")
        << "Session files (*.ini)|*.ini|All files (*.*)|*.*"
        << QStringList{"Session files (*.ini)", "All files (*.*)"};
    QTest::newRow("empty") << "" << QStringList{"All files (*)"};
}

void BindingTest::nameFiltersAndDefaultExtensions() {
    QFETCH(QString, filter);
    QFETCH(QStringList, qt);
    QCOMPARE(QtNameFilters(filter.toStdString()), qt);
}

void BindingTest::defaultExtensionFollowsTheChosenFilter() {
    const std::string f = "Bitmaps|*.bmp|All files|*.*";
    QCOMPARE(WithDefaultExtension("/t/sun", f, 1, "emf, wmf"), std::string("/t/sun.bmp"));
    QCOMPARE(WithDefaultExtension("/t/sun", f, 2, "emf, wmf"), std::string("/t/sun.emf"));
    QCOMPARE(WithDefaultExtension("/t/sun.svg", f, 1, "emf"), std::string("/t/sun.svg"));
    QCOMPARE(WithDefaultExtension("/t.d/sun", f, 2, ""), std::string("/t.d/sun"));
}

UI_TEST(BindingTest);

}  // namespace umbrix::ui::test

#include "Binding_uitest.moc"
