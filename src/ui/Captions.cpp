#include "ui/Captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>
#include <unordered_map>

#include "platform/FormModel.h"
#include "ui/Bilingual.h"

namespace umbrix::ui {

namespace {

using Index = std::unordered_map<std::string_view, const CaptionEntry*>;

const Index& indexOf(Language language) {
    static const Index english = [] {
        Index i;
        for (const CaptionEntry& e : EnglishCaptions()) i.emplace(e.key, &e);
        return i;
    }();
    static const Index german = [] {
        Index i;
        for (const CaptionEntry& e : GermanCaptions()) i.emplace(e.key, &e);
        return i;
    }();
    return language == Language::German ? german : english;
}

const CaptionEntry* lookUp(Language language, std::string_view key) {
    const Index& index = indexOf(language);
    auto it = index.find(key);
    return it == index.end() ? nullptr : it->second;
}

}  // namespace

const CaptionEntry* FindCaption(Language language, std::string_view key) {
    if (const CaptionEntry* e = lookUp(language, key)) return e;
    return language == Language::English ? nullptr : lookUp(Language::English, key);
}

QString Caption(Language language, std::string_view key, const QString& fallback) {
    const CaptionEntry* e = FindCaption(language, key);
    return e ? QString::fromUtf8(e->caption) : fallback;
}

QString ItemCaption(Language language, std::string_view form, std::string_view control,
                    const std::string& item) {
    const std::string key = std::string(form) + "." + std::string(control) + "/" + item;
    if (language == Language::German)
        if (const CaptionEntry* e = lookUp(Language::German, key))
            return QString::fromUtf8(e->caption);
    return QString::fromStdString(item);
}

void CaptionSwitch::applyToModels(ComponentRegistry& registry, Language language) {
    for (FormModel* form : registry.forms()) {
        for (const auto& owned : form->controls()) {
            Control& c = *owned;
            const std::string key = form->name() + "." + c.name;
            const CaptionEntry* e = FindCaption(language, key);
            auto known = english_.find(key);
            if (!e) {
                if (known != english_.end()) {
                    c.caption = known->second.first;
                    c.hint = known->second.second;
                }
                continue;
            }
            if (known == english_.end()) known = english_.try_emplace(key, c.caption, c.hint).first;
            c.caption = *e->caption ? e->caption : known->second.first;
            // hints carry both languages: a German entry without one keeps the English hint
            const CaptionEntry* en = lookUp(Language::English, key);
            c.hint = e->hint ? e->hint : en && en->hint ? en->hint : known->second.second;
        }
        form->changed();
    }
}

void CaptionSwitch::applyToWidgets(QWidget* window, const std::string& form, Language language,
                                   const FormModel* model) {
    if (const CaptionEntry* e = FindCaption(language, form))
        window->setWindowTitle(WindowTitle(e->caption, language));
    QList<QObject*> objects = window->findChildren<QObject*>();
    for (QObject* o : objects) {
        const std::string name = o->objectName().toStdString();
        if (name.empty() || (model && model->find(name))) continue;
        const CaptionEntry* e = FindCaption(language, form + "." + name);
        if (!e) continue;
        const QString text = QString::fromUtf8(e->caption);
        const CaptionEntry* en = lookUp(Language::English, form + "." + name);
        const char* hint = e->hint ? e->hint : en ? en->hint : nullptr;
        const QString tip = hint ? BilingualPart(hint, language) : QString();
        if (auto* label = qobject_cast<QLabel*>(o)) {
            label->setText(text);
        } else if (auto* group = qobject_cast<QGroupBox*>(o)) {
            group->setTitle(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(o)) {
            button->setText(text);
        } else if (auto* menu = qobject_cast<QMenu*>(o)) {
            menu->setTitle(text);
        } else if (auto* action = qobject_cast<QAction*>(o)) {
            action->setText(text);
        } else if (auto* widget = qobject_cast<QWidget*>(o); widget && widget->isWindow()) {
            widget->setWindowTitle(WindowTitle(e->caption, language));
        }
        if (!tip.isEmpty())
            if (auto* w = qobject_cast<QWidget*>(o)) w->setToolTip(tip);
    }
}

}  // namespace umbrix::ui
