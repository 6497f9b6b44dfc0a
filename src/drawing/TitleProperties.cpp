#include "drawing/TitleProperties.h"

#include "drawing/ModelSpace.h"
#include "drawing/TitleBlockReader.h"
#include "drawing/TitleTextReader.h"
#include "util/FixedTexts.h"
#include "util/IniValues.h"

namespace velmarin {

using namespace title_template;

std::string TitleTemplatePath(const std::string& clientFolder) {
    std::string name;
    util::ReadIniString(kConfigSection, kTemplateNameKey, name,
                        clientFolder + texts::kConfigFileName);
    return clientFolder + kTemplateFolder + name;
}

std::vector<PropertyRecord> ReadTitleBlock(const std::string& templatePath,
                                           TitleReadObserver* observer) {
    host::Opened<host::BlockTableRecord> space = OpenModelSpace();
    if (!space) return {};
    return TitleBlockReader(templatePath, observer).Collect(*space);
}

std::vector<PropertyRecord> ReadDrawingInfo(const std::string& templatePath,
                                            TitleReadObserver* observer) {
    std::string blockProperty;
    std::string separator;
    util::ReadIniString(kInfoSection, kBlockPropertyKey, blockProperty, templatePath);
    util::ReadIniString(kInfoSection, kSeparatorKey, separator, templatePath);

    host::Opened<host::BlockTableRecord> space = OpenModelSpace();
    if (!space) return {};
    if (blockProperty == kTextMode) {
        return TitleTextReader(templatePath, separator, observer).Collect(*space);
    }
    return TitleBlockReader(templatePath, observer).Collect(*space);
}

}  // namespace velmarin
