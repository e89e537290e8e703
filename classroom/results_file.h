#pragma once

#include <string>
#include <vector>

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

    // Appends `lines` (each with its line end), making the folders on the way (only the user
    // may enter them); 0, or the errno of what failed, the file then as it was before. Another
    // program's lock is waited for a second or two at the most: then nothing is written.
    int Append(const std::string& lines) const;

    // The whole file, or nothing when there is none.
    std::string Read() const;

    // Where lines that could not be appended wait, with why, for the next try and for the
    // class window to show: "why\tline" each. Kept in the user's state folder
    // ($XDG_STATE_HOME/hashigoro/, or ~/.local/state/hashigoro/), which a logout keeps, apart
    // from the data folder, so that a full or unwritable data folder does not take them too;
    // one file for each results file. Empty where there is no such folder (no home): nothing is
    // ever kept in a shared folder such as /tmp.
    std::string UnsavedPath() const;
    // Replaces what waits there (nothing: the file goes); false when it cannot be written, or
    // when its folder is not the user's own (another's, open to others, or a link).
    bool KeepUnsaved(const std::string& why, const std::vector<std::string>& lines) const;
    // The lines waiting there, each with its line end, and why they could not be appended.
    std::string ReadUnsaved() const;
    std::string UnsavedWhy() const;

    // Why an append failed, in Japanese, for the window.
    static std::string Why(int error);

  private:
    std::string path_;
};

}  // namespace hashigoro
