#pragma once
// A drawing's title-block properties as the tree file takes them, the title-block template that
// says where they are, and the two ways of reading them: block attributes (TitleBlockReader) and
// plain texts (TitleTextReader).

#include <string>
#include <vector>

#include "host/HostTypes.h"
#include "util/FixedTexts.h"

namespace velmarin {

struct PropertyRecord {
    std::string name;
    std::string value;
    std::string type;  // always "0" for what the plug-in reads
};

// The names of the title-block template and of its place in vord.ini.
namespace title_template = texts::title_template;

// The title-block template named by [BPT] BPT_NAME of vord.ini in the client folder.
std::string TitleTemplatePath(const std::string& clientFolder);

// What the readers saw and decided, for a person who wants to know why a property was or was not
// read. Every call is optional; the plug-in passes no observer.
class TitleReadObserver {
  public:
    virtual ~TitleReadObserver() = default;
    // A block reference in model space, the template entry its block name matched ("" when none).
    virtual void blockReference(const std::string& blockName, const std::string& section,
                                const host::Point3& position) {}
    // An attribute of a matched reference; `property` is "" when the template has no name for
    // the tag, which skips it.
    virtual void attribute(const std::string& tag, const std::string& value,
                           const std::string& property, const host::Point3& position) {}
    // A text of model space that holds the separator, split into label and value.
    virtual void titleText(const std::string& contents, const std::string& label,
                           const std::string& value, const std::string& property,
                           const host::Point3& position) {}
};

// The attributes of the title-block references in the working database's model space.
std::vector<PropertyRecord> ReadTitleBlock(const std::string& templatePath,
                                           TitleReadObserver* observer = nullptr);
// The same, or the title texts when the template's [Info] BlockPty is "false".
std::vector<PropertyRecord> ReadDrawingInfo(const std::string& templatePath,
                                            TitleReadObserver* observer = nullptr);

}  // namespace velmarin
