#pragma once

#include <string>

namespace hashigoro {

// The file in which the desktop program keeps its finished experiments, one result line each,
// for the answer sheet's class part to add with one click. Lines are only ever appended: a
// write that fails or is cut short leaves the lines before it as they were, and programs
// writing at once take turns, line by line.
class ResultsFile {
  public:
    explicit ResultsFile(std::string path) : path_(std::move(path)) {}

    // $XDG_DATA_HOME/hashigoro/results.txt, or ~/.local/share/hashigoro/results.txt.
    static std::string DefaultPath();

    const std::string& Path() const { return path_; }

    // Appends `line` and a line end, making the folders on the way; false, leaving the file as
    // it was, when that cannot be done.
    bool Append(const std::string& line) const;

    // The whole file, or nothing when there is none.
    std::string Read() const;

  private:
    std::string path_;
};

}  // namespace hashigoro
