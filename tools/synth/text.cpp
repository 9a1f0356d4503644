// Reading our sound source files: lines, words, key=value settings and error reports.
#include "text.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace synth {

std::vector<SourceLine> ReadSourceLines(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw SourceError(path + ": cannot open");
    std::vector<SourceLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        SourceLine line;
        line.number = number;
        line.indented = !text.empty() && (text[0] == ' ' || text[0] == '\t');
        std::istringstream words(text);
        for (std::string word; words >> word && word[0] != '#';) line.words.push_back(word);
        if (!line.words.empty()) lines.push_back(line);
    }
    return lines;
}

Settings::Settings(const std::string& where, const std::vector<std::string>& words, size_t first)
    : where_(where) {
    for (size_t i = first; i < words.size(); ++i) {
        size_t eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0) {
            throw SourceError(where + ": expected key=value, got '" + words[i] + "'");
        }
        values_[words[i].substr(0, eq)] = words[i].substr(eq + 1);
    }
}

double Settings::Number(const std::string& key, double fallback) const {
    auto found = values_.find(key);
    if (found == values_.end()) return fallback;
    used_[key] = true;
    char* end = nullptr;
    double value = std::strtod(found->second.c_str(), &end);
    if (end == found->second.c_str() || *end != '\0') {
        throw SourceError(where_ + ": " + key + " wants a number, got '" + found->second + "'");
    }
    return value;
}

std::string Settings::Text(const std::string& key, const std::string& fallback) const {
    auto found = values_.find(key);
    if (found == values_.end()) return fallback;
    used_[key] = true;
    return found->second;
}

void Settings::RejectUnused() const {
    for (const auto& [key, value] : values_) {
        if (!used_.count(key)) throw SourceError(where_ + ": unknown setting '" + key + "'");
    }
}

std::string Where(const std::string& path, const SourceLine& line) {
    return path + ":" + std::to_string(line.number);
}

}  // namespace synth
