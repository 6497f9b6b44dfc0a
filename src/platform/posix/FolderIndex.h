#pragma once
// The entries of folders by their case-folded names, so that matching a name ignoring case costs
// the same in a folder of ten entries or of ten thousand. A folder is read whole on its first
// lookup; the platform reports its own creations and removals, which keep the index current
// without reading the folder again. A change made by another program shows in the folder's
// modification and change times (nanoseconds), which every lookup compares.
//
// Those times move in steps of the kernel's clock tick, so a change by another program in the
// tick in which the folder was read would not show. Such a folder is "racy": a name missing from
// its index is looked for in the folder itself until a read sees a folder older than the read.
// The platform's own change ends that: a burst of its creations then reads the folder once, not
// once per file. What another program changes in the very tick of such a change goes unseen
// until the folder changes again.

#include <sys/stat.h>

#include <ctime>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

namespace velmarin::platform::posix {

// The GBK spelling of a name on disk: a name in UTF-8 (as Linux users create them) that has a
// GBK form, else the name's own bytes (GBK, as the system writes them). The rule is the one for
// text files people write (FileText.h).
std::string GbkSpelling(const std::string& name);

class FolderIndex {
  public:
    // The entry of `folder` whose name equals `name` ignoring A-Z case, spelled in GBK or in
    // UTF-8. A GBK spelling wins over a UTF-8 one, and among several the smallest, so that the
    // choice does not depend on directory order. Nothing when there is none (or no folder).
    std::optional<std::string> find(const std::string& folder, const std::string& name);

    // The platform created `name` in `folder` (or renamed an entry to it).
    void added(const std::string& folder, const std::string& name);
    // The platform removed `name` from `folder` (or renamed it away).
    void removed(const std::string& folder, const std::string& name);

    // How often a folder was read whole, for tests and benchmarks.
    std::size_t folderReads() const { return folderReads_; }

  private:
    // Spellings that fold to one name: GBK ones (false) before UTF-8 ones (true), then by bytes.
    using Spellings = std::set<std::pair<bool, std::string>>;
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        struct timespec modified {};
        struct timespec changed {};
        bool operator==(const Stamp& other) const;
    };
    struct Folder {
        Stamp stamp;
        struct timespec readAt {};  // when the folder was last read whole
        bool racy = false;          // it changed in the tick in which it was read
        std::unordered_map<std::string, Spellings> names;
    };

    static std::optional<Stamp> StampOf(const std::string& folder);
    // Reads the folder whole into its index; null when it cannot be read.
    Folder* read(const std::string& folder, const Stamp& stamp);
    // The index of the folder as it is now, read again when it changed behind the platform's back.
    Folder* current(const std::string& folder);
    // After the platform's own change: the new stamp, unless the folder was never indexed.
    Folder* afterOwnChange(const std::string& folder);
    static void Insert(Folder& index, const std::string& name);
    static void Erase(Folder& index, const std::string& name);

    std::unordered_map<std::string, Folder> folders_;
    std::size_t folderReads_ = 0;
};

}  // namespace velmarin::platform::posix
