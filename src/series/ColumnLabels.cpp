#include "series/ColumnLabels.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/LineReader.h"
#include "platform/TextFile.h"
#include "platform/Utf8.h"

namespace umbrix {

namespace {

bool isBlank(char c) {
    return c == ' ' || static_cast<unsigned char>(c) < 32 || c == 127;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The most words an item text has ("Ratio of diffuse and global radiation").
std::size_t longestItemWords() {
    static const std::size_t words = [] {
        std::size_t most = 1;
        for (int i = 0; i < kDataColumnCount; ++i) {
            const std::string& item = ColumnItemText(DataColumn(i));
            most = std::max<std::size_t>(most, 1 + std::count(item.begin(), item.end(), ' '));
        }
        return most;
    }();
    return words;
}

// The labels for a message: the first ten, without control characters.
std::string quoted(const std::vector<std::string>& labels) {
    std::string s;
    for (std::size_t i = 0; i < labels.size() && i < 10; ++i) {
        std::string l = labels[i];
        std::replace_if(l.begin(), l.end(), isBlank, ' ');
        s += (s.empty() ? "\"" : ", \"") + l + "\"";
    }
    if (labels.size() > 10) s += " and " + std::to_string(labels.size() - 10) + " more";
    return s;
}

}  // namespace

std::vector<DataColumn> ColumnsFromLabels(std::string_view rawLine, char separator,
                                          std::string_view source) {
    if (rawLine.starts_with("\xEF\xBB\xBF")) rawLine.remove_prefix(3);
    if (separator == ' ') separator = '\t';  // blanks end a field anyway
    const std::string line = TextAsUtf8(rawLine);
    const std::string where(source);

    // pieces between separators and tabs; one separator may end the line
    std::vector<std::string_view> pieces;
    std::string_view rest(line);
    for (;;) {
        const std::size_t cut = rest.find_first_of(std::string{'\t', separator});
        pieces.push_back(trimmed(rest.substr(0, cut)));
        if (cut == std::string_view::npos) break;
        rest.remove_prefix(cut + 1);
    }
    if (pieces.size() > 1 && pieces.back().empty()) pieces.pop_back();
    if (pieces.size() == 1 && pieces[0].empty())
        throw ColumnLabelError({}, where + ": no column labels");

    std::vector<DataColumn> columns;
    std::vector<std::string> unknown;
    std::vector<bool> seen(kDataColumnCount);
    std::optional<DataColumn> twice;
    auto take = [&](DataColumn c) {
        // the horizon's label may stand over each of its fields
        if (c == DataColumn::Horizon && !columns.empty() && columns.back() == c) return;
        if (seen[std::size_t(c)] && !twice) twice = c;
        seen[std::size_t(c)] = true;
        columns.push_back(c);
    };
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const std::string_view piece = pieces[p];
        if (piece.empty())
            throw ColumnLabelError(
                {""}, where + ": column " + std::to_string(columns.size() + 1) + " has no label");
        if (auto c = ColumnByName(piece)) {
            take(*c);
            continue;
        }
        // words at blanks, each run matched to the longest item text it starts
        std::vector<std::string_view> words;
        for (std::size_t i = 0; i < piece.size();) {
            while (i < piece.size() && isBlank(piece[i])) ++i;
            std::size_t j = i;
            while (j < piece.size() && !isBlank(piece[j])) ++j;
            if (j > i) words.push_back(piece.substr(i, j - i));
            i = j;
        }
        std::vector<std::string> missed;
        bool anyKnown = false;
        for (std::size_t i = 0; i < words.size();) {
            std::size_t taken = 0;
            for (std::size_t n = std::min(longestItemWords(), words.size() - i); n >= 1; --n) {
                std::string candidate(words[i]);
                for (std::size_t k = 1; k < n; ++k) (candidate += ' ') += words[i + k];
                if (auto c = ColumnByName(candidate)) {
                    take(*c);
                    taken = n;
                    break;
                }
            }
            if (taken == 0) {
                missed.emplace_back(words[i]);
                taken = 1;
            } else {
                anyKnown = true;
            }
            i += taken;
        }
        // a label of its own between separators that names nothing is reported whole
        if (!anyKnown && pieces.size() > 1)
            unknown.emplace_back(piece);
        else
            unknown.insert(unknown.end(), missed.begin(), missed.end());
    }
    if (!unknown.empty()) {
        std::string known;
        for (int i = 0; i < kDataColumnCount; ++i)
            known += std::string(known.empty() ? "" : " ") + ColumnShortName(DataColumn(i));
        throw ColumnLabelError(unknown, where + ": unknown column " +
                                            (unknown.size() == 1 ? "label " : "labels ") +
                                            quoted(unknown) + " (labels are the short names " +
                                            known + " or the item texts of the column list)");
    }
    if (twice)
        throw ColumnLabelError(
            {}, where + ": the column \"" + ColumnShortName(*twice) + "\" is labelled twice");
    return columns;
}

std::vector<DataColumn> ReadColumnLabels(const std::string& path, char separator) {
    const std::string where = "data file " + FileNameOnly(path) + ", line 1";
    std::string line;
    bool read = false;
    try {
        LineReader reader(path, DataFileReader::kMaxLineLength);
        read = reader.next(line);
    } catch (const LineTooLongError&) {
        throw ColumnLabelError({}, where + " is longer than " +
                                       std::to_string(DataFileReader::kMaxLineLength) +
                                       " characters");
    } catch (const FileError& e) {
        throw FileError(std::string("data file: ") + e.what());
    }
    if (!read)
        throw ColumnLabelError({},
                               "data file " + FileNameOnly(path) + " is empty: no column labels");
    return ColumnsFromLabels(line, separator, where);
}

char DataFileSeparatorFor(std::string_view path, char chosen) {
    const std::string_view ext = ".csv";
    if (path.size() < ext.size()) return chosen;
    const std::string_view end = path.substr(path.size() - ext.size());
    const bool csv = std::equal(end.begin(), end.end(), ext.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
    return csv ? ',' : chosen;
}

}  // namespace umbrix
