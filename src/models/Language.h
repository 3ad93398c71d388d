#pragma once
// The two interface languages and the header vocabulary of the output table.
#include <array>
#include <string>

namespace umbrix {

enum class Language { English, German };

// 81 texts used for the names, units and header lines of the output table; entry 0 names the
// issuing institution. Entries the table does not use are empty.
using Vocabulary = std::array<std::string, 81>;

const Vocabulary& HeaderVocabulary(Language language);

}  // namespace umbrix
