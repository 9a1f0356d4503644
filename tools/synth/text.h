// Reading our sound source files: lines, words, key=value settings and error reports.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace synth {

// One meaningful line of a source file: its number and its words (comments removed).
struct SourceLine {
    int number = 0;                  // line number in the file, from 1
    std::vector<std::string> words;  // the words, split at blanks
    bool indented = false;           // the line starts with a blank
};

// A fault in a source file, with its place ("file:line: what").
class SourceError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a file into its non-empty lines; a word starting with '#' begins a comment (so F#4 is
// a note). Called by both readers.
std::vector<SourceLine> ReadSourceLines(const std::string& path);

// Settings given as key=value words, checked against the keys a reader knows.
class Settings {
  public:
    // Called by the readers with the words after the line's keyword.
    Settings(const std::string& where, const std::vector<std::string>& words, size_t first);
    // Number for `key`, or `fallback` when absent; a non-number is an error.
    double Number(const std::string& key, double fallback) const;
    // Text for `key`, or `fallback` when absent.
    std::string Text(const std::string& key, const std::string& fallback) const;
    // Called last by each reader: any key it did not ask for is a typing error in the file.
    void RejectUnused() const;

  private:
    std::string where_;
    std::map<std::string, std::string> values_;
    mutable std::map<std::string, bool> used_;
};

// "file:line" for error messages. Called by both readers.
std::string Where(const std::string& path, const SourceLine& line);

}  // namespace synth
