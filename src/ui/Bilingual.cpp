#include "ui/Bilingual.h"

#include <string_view>

#include "models/TableWriter.h"

namespace umbrix::ui {

QString BilingualPart(const std::string& text, Language language) {
    constexpr std::string_view kSeparator = " - ";
    const std::size_t at = text.find(kSeparator);
    if (at == std::string::npos) return QString::fromStdString(text);
    const std::string_view whole(text);
    const std::string_view english = whole.substr(0, at);
    const std::string_view german = whole.substr(at + kSeparator.size());
    if (english.empty() || german.empty()) return QString::fromStdString(text);
    const std::string_view part = language == Language::German ? german : english;
    return QString::fromUtf8(part.data(), qsizetype(part.size()));
}

QString WindowTitle(const std::string& caption, Language language) {
    const std::string_view title(caption);
    if (title.starts_with(kProgramTitle)) return QString::fromStdString(caption);
    // "Datafile - Wertedatei - <program>": the program's name stays behind the chosen half
    const std::string program = std::string(" - ") + kProgramTitle;
    if (title.ends_with(program))
        return BilingualPart(caption.substr(0, caption.size() - program.size()), language) +
               QString::fromStdString(program);
    return BilingualPart(caption, language);
}

}  // namespace umbrix::ui
