#include "ops/OperationScriptRunner.h"

#include <string>

#include "bridge/VordClient.h"
#include "drawing/Drawings.h"
#include "host/Host.h"
#include "ini/IniDocument.h"
#include "platform/NativeFiles.h"
#include "util/FixedTexts.h"
#include "util/Text.h"

namespace velmarin {
namespace {

// The order in which a script's sections run, whatever their order in the file: every transfer
// has finished before the first drawing is opened.
enum class SectionAction { None, Download, Upload, Open };

struct ScriptSection {
    const char* name;
    SectionAction action;
};

constexpr ScriptSection kSectionOrder[] = {
    {texts::kScriptCloseFile, SectionAction::None},
    {texts::kScriptDeleteFile, SectionAction::None},
    {texts::kScriptDownload, SectionAction::Download},
    {texts::kScriptUpload, SectionAction::Upload},
    {texts::kScriptOpenFile, SectionAction::Open},
    {texts::kScriptReadOnly, SectionAction::None},
    {texts::kScriptUnReadOnly, SectionAction::None},
};

// Splits "first < second" at the first separator, both parts trimmed. False when there is none.
bool SplitTransfer(const std::string& value, const std::string& separator, std::string& first,
                   std::string& second) {
    const std::size_t at = text::Find(value, separator);
    if (at == text::npos || separator.empty()) return false;
    first = text::Trim(value.substr(0, at));
    second = text::Trim(value.substr(at + separator.size()));
    return true;
}

}  // namespace

bool OperationScriptRunner::RunScript(const std::string& path) {
    try {
        // Windows reaches no file at such a path: said once, rather than running nothing silently.
        if (platform::ExceedsAnsiPathLimit(path)) {
            host::current().printf("\n" + std::string(texts::kScriptPathTooLong) + path);
            return false;
        }
        IniDocument script;
        if (!script.Load(path)) return false;
        for (const ScriptSection& entry : kSectionOrder) {
            const IniSection* section = script.FindSection(entry.name);
            if (section == nullptr) continue;
            // An error in one record ends its section only; the later sections still run.
            try {
                for (int i = 0; i < section->GetRecordCount(); ++i) {
                    const std::string& value = section->GetRecordAt(i)->value;
                    switch (entry.action) {
                        case SectionAction::Download:
                            DownloadEntry(value, texts::kScriptTransferSeparator);
                            break;
                        case SectionAction::Upload:
                            UploadEntry(value, texts::kScriptTransferSeparator);
                            break;
                        case SectionAction::Open:
                            OpenEntry(value);
                            break;
                        case SectionAction::None:
                            break;
                    }
                }
            } catch (...) {
            }
        }
        return true;
    } catch (...) {
        // Nothing may escape into the host: a failure outside the sections ends the run.
        return false;
    }
}

bool OperationScriptRunner::DownloadEntry(const std::string& value, const std::string& separator) {
    std::string first;
    std::string second;
    return SplitTransfer(value, separator, first, second) && vord_.DownloadFile(first, second);
}

bool OperationScriptRunner::UploadEntry(const std::string& value, const std::string& separator) {
    std::string first;
    std::string second;
    return SplitTransfer(value, separator, first, second) && vord_.UploadFile(first, second);
}

std::string OperationScriptRunner::RequestSavePath(const std::string& name, std::string& return2,
                                                   std::string& return3) {
    return vord_.GetSavePath(1, name, return2, return3);
}

void OperationScriptRunner::OpenEntry(const std::string& path) {
    bool opened = false;
    drawings_.OpenDrawing(path, &opened);
    if (!opened) host::current().printf(std::string("\n") + texts::kCannotOpenDrawing + path);
}

}  // namespace velmarin
