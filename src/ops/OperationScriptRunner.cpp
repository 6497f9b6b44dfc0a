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
    {"CloseFile", SectionAction::None},    {"DeleteFile", SectionAction::None},
    {"Download", SectionAction::Download}, {"UpLoadFile", SectionAction::Upload},
    {"OpenFile", SectionAction::Open},     {"ReadOnly", SectionAction::None},
    {"UnReadOnly", SectionAction::None},
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

int OperationScriptRunner::RunScript(const std::string& path) {
    try {
        // Windows reaches no file at such a path: said once, rather than running nothing silently.
        if (platform::ExceedsAnsiPathLimit(path)) {
            host::current().printf("\n" + std::string(texts::kScriptPathTooLong) + path);
            return 0;
        }
        IniDocument script;
        if (script.Load(path) == 0) return 0;
        for (const ScriptSection& entry : kSectionOrder) {
            const IniSection* section = script.FindSection(entry.name);
            if (section == nullptr) continue;
            // An error in one record ends its section only; the later sections still run.
            try {
                for (int i = 0; i < section->GetRecordCount(); ++i) {
                    const std::string& value = section->GetRecordAt(i)->value;
                    switch (entry.action) {
                        case SectionAction::Download:
                            DownloadEntry(value, "<");
                            break;
                        case SectionAction::Upload:
                            UploadEntry(value, "<");
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
        return 1;
    } catch (...) {
        // Nothing may escape into the host: a failure outside the sections ends the run.
        return 0;
    }
}

int OperationScriptRunner::DownloadEntry(const std::string& value, const std::string& separator) {
    std::string first;
    std::string second;
    if (!SplitTransfer(value, separator, first, second)) return 0;
    return vord_.DownloadFile(first, second) == 1 ? 1 : 0;
}

int OperationScriptRunner::UploadEntry(const std::string& value, const std::string& separator) {
    std::string first;
    std::string second;
    if (!SplitTransfer(value, separator, first, second)) return 0;
    return vord_.UploadFile(first, second) == 1 ? 1 : 0;
}

std::string OperationScriptRunner::RequestSavePath(const std::string& name, std::string& return2,
                                       std::string& return3) {
    return vord_.GetSavePath(1, name, return2, return3);
}

void OperationScriptRunner::OpenEntry(const std::string& path) {
    host::ErrorStatus status = host::eOk;
    drawings_.OpenDrawing(path, &status);
    if (status != host::eOk) {
        host::current().printf(std::string("\n") + texts::kCannotOpenDrawing + path);
    }
}

}  // namespace velmarin
