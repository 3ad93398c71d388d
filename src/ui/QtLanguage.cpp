#include "ui/QtLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace umbrix::ui {

QtLanguage::QtLanguage() = default;

QtLanguage::~QtLanguage() {
    apply(Language::English);
}

QString QtLanguage::germanFile() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm";
}

bool QtLanguage::apply(Language language) {
    if (language == Language::English) {
        if (translator_) QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
        return true;
    }
    if (translator_) return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(germanFile())) return false;
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
    return true;
}

}  // namespace umbrix::ui
