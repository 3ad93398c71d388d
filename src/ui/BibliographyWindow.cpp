#include "ui/BibliographyWindow.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/Bilingual.h"
#include "ui/Captions.h"

namespace umbrix::ui {

namespace {

const Source kSources[] = {
    {"PET and MEMI", "PET und MEMI",
     "Höppe P (1984) Die Energiebilanz des Menschen. Wissenschaftliche Mitteilungen des "
     "Meteorologischen Instituts der Universität München 49."},
    {"PET and MEMI", "PET und MEMI",
     "Mayer H, Höppe P (1987) Thermal comfort of man in different urban environments. "
     "Theoretical and Applied Climatology 38:43–49."},
    {"PET and MEMI", "PET und MEMI",
     "Höppe P (1999) The physiological equivalent temperature – a universal index for the "
     "biometeorological assessment of the thermal environment. International Journal of "
     "Biometeorology 43:71–75."},
    {"PMV", "PMV",
     "Fanger PO (1970) Thermal Comfort. Analysis and Applications in Environmental "
     "Engineering. Danish Technical Press, Copenhagen."},
    {"PMV", "PMV",
     "ISO 7730 (2005) Ergonomics of the thermal environment – Analytical determination and "
     "interpretation of thermal comfort using calculation of the PMV and PPD indices and local "
     "thermal comfort criteria. International Organization for Standardization, Geneva."},
    {"SET*", "SET*",
     "Gagge AP, Stolwijk JAJ, Nishi Y (1971) An effective temperature scale based on a simple "
     "model of human physiological regulatory response. ASHRAE Transactions 77(1):247–262."},
    {"SET*", "SET*",
     "Gagge AP, Fobelets AP, Berglund LG (1986) A standard predictive index of human response "
     "to the thermal environment. ASHRAE Transactions 92(2B):709–731."},
    {"UTCI", "UTCI",
     "Bröde P, Fiala D, Błażejczyk K, Holmér I, Jendritzky G, Kampmann B, Tinz B, Havenith G "
     "(2012) Deriving the operational procedure for the Universal Thermal Climate Index (UTCI). "
     "International Journal of Biometeorology 56:481–494."},
    {"UTCI", "UTCI",
     "Jendritzky G, de Dear R, Havenith G (2012) UTCI – Why another thermal index? "
     "International Journal of Biometeorology 56:421–428."},
    {"PT (perceived temperature)", "PT (gefühlte Temperatur)",
     "Jendritzky G, Menz G, Schirmer H, Schmidt-Kessen W (1990) Methodik zur raumbezogenen "
     "Bewertung der thermischen Komponente im Bioklima des Menschen (Fortgeschriebenes "
     "Klima-Michel-Modell). Beiträge der Akademie für Raumforschung und Landesplanung 114, "
     "Hannover."},
    {"PT (perceived temperature)", "PT (gefühlte Temperatur)",
     "Staiger H, Laschewski G, Grätz A (2012) The perceived temperature – a versatile index for "
     "the assessment of the human thermal environment. Part A: scientific basics. "
     "International Journal of Biometeorology 56:165–176."},
    {"mPET", "mPET",
     "Chen Y-C, Matzarakis A (2018) Modified physiologically equivalent temperature – basics "
     "and applications for western European climate. Theoretical and Applied Climatology "
     "132:1275–1289."},
    {"Radiation, Linke turbidity and Tmrt", "Strahlung, Linke-Trübung und Tmrt",
     "Linke F (1922) Transmissions-Koeffizient und Trübungsfaktor. Beiträge zur Physik der "
     "freien Atmosphäre 10:91–103."},
    {"Radiation, Linke turbidity and Tmrt", "Strahlung, Linke-Trübung und Tmrt",
     "Ångström A (1918) A study of the radiation of the atmosphere. Smithsonian Miscellaneous "
     "Collections 65(3)."},
    {"Radiation, Linke turbidity and Tmrt", "Strahlung, Linke-Trübung und Tmrt",
     "Kasten F (1980) A simple parameterization of the pyrheliometric formula for determining "
     "the Linke turbidity factor. Meteorologische Rundschau 33:124–127."},
    {"Radiation, Linke turbidity and Tmrt", "Strahlung, Linke-Trübung und Tmrt",
     "Kasten F, Young AT (1989) Revised optical air mass tables and approximation formula. "
     "Applied Optics 28:4735–4738."},
    {"Radiation, Linke turbidity and Tmrt", "Strahlung, Linke-Trübung und Tmrt",
     "VDI 3789 Blatt 2 (1994) Umweltmeteorologie – Wechselwirkungen zwischen Atmosphäre und "
     "Oberflächen – Berechnung der kurz- und der langwelligen Strahlung. Beuth, Berlin."},
    {"Radiation, Linke turbidity and Tmrt", "Strahlung, Linke-Trübung und Tmrt",
     "VDI 3787 Blatt 2 (2008) Umweltmeteorologie – Methoden zur human-biometeorologischen "
     "Bewertung von Klima und Lufthygiene für die Stadt- und Regionalplanung – Teil I: Klima. "
     "Beuth, Berlin."},
    {"Sky view factor", "Himmelssichtfaktor",
     "Steyn DG (1980) The calculation of view factors from fisheye-lens photographs: research "
     "note. Atmosphere-Ocean 18:254–258."},
    {"Body surface area", "Körperoberfläche",
     "DuBois D, DuBois EF (1916) A formula to estimate the approximate surface area if height "
     "and weight be known. Archives of Internal Medicine 17:863–871."},
};

}  // namespace

std::span<const Source> Bibliography() {
    return kSources;
}

BibliographyWindow::BibliographyWindow(Desktop&) : QWidget(nullptr, Qt::Window) {
    setObjectName("FormBiblio");
    auto* layout = new QVBoxLayout(this);
    text_ = new QTextBrowser(this);
    text_->setObjectName("BiblioText");
    text_->setOpenExternalLinks(true);
    layout->addWidget(text_);
    resize(640, 560);
    retranslate(Language::English);
}

void BibliographyWindow::retranslate(Language language) {
    setWindowTitle(BilingualPart(
        Caption(language, "FormBiblio", "Bibliography - Literatur").toStdString(), language));
    const bool german = language == Language::German;
    QString html = "<h3>" + Caption(language, "FormBiblio.Intro").toHtmlEscaped() + "</h3>";
    QString topic;
    for (const Source& s : kSources) {
        const QString t = QString::fromUtf8(german ? s.topicDe : s.topicEn);
        if (t != topic) {
            if (!topic.isEmpty()) html += "</ul>";
            html += "<h4>" + t.toHtmlEscaped() + "</h4><ul>";
            topic = t;
        }
        html += "<li>" + QString::fromUtf8(s.citation).toHtmlEscaped() + "</li>";
    }
    html += "</ul>";
    text_->setHtml(html);
}

QString BibliographyWindow::html() const {
    return text_->toHtml();
}

}  // namespace umbrix::ui
