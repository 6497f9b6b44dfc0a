#pragma once
// The plug-in's ordered, indexable list of strings, with a reader that takes a text file in line
// by line.

#include <cstddef>
#include <string>
#include <vector>

namespace velmarin {

class TextLines {
  public:
    // Replaces the list with the lines of the file (line ends CR LF or LF removed, nothing else
    // touched; a last line without a line end counts). 0, with the list unchanged, when the file
    // cannot be read.
    int LoadFromFile(const std::string& path);
    // The same split over bytes already in memory.
    void SetText(const std::string& contents);

    int GetSize() const { return static_cast<int>(items_.size()); }
    // "" for an index outside the list.
    const std::string& GetAt(int index) const;
    void Add(std::string item) { items_.push_back(std::move(item)); }
    void RemoveAll() { items_.clear(); }

    std::vector<std::string>::const_iterator begin() const { return items_.begin(); }
    std::vector<std::string>::const_iterator end() const { return items_.end(); }

  private:
    std::vector<std::string> items_;
};

}  // namespace velmarin
