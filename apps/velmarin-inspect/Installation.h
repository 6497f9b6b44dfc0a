#pragma once
// The VORD client installation as the plug-in finds it: the registry value, the client folder,
// the client library, the exchange file, the title-block template and the column-title
// template. Read through the platform seam only; nothing is written, and the client library is
// loaded but never called.

#include <string>
#include <vector>

#include "drawing/TitleBlockReader.h"
#include "platform/Platform.h"

namespace velmarin::inspect {

// The title-block template named by vord.ini, listed by the plug-in's own template code.
struct TitleBlockTemplate {
    bool named = false;  // vord.ini gives BPT_NAME
    std::string path;    // <client folder>source\BPT\<name>
    TitleTemplateListing listing;
};

struct ColumnTitle {
    int kind = 0;       // 1..18
    std::string key;    // key of section TABLE
    std::string title;  // as the plug-in reads it (GBK), empty when missing
};

// A file the plug-in reads through the profile functions that begins with a byte-order mark.
struct MarkedFile {
    std::string path;      // GBK
    std::string encoding;  // "UTF-8" or "UTF-16"
};

struct Installation {
    bool appPathFound = false;
    std::string appPath;       // the registry value (GBK)
    std::string clientFolder;  // with its backslash; empty without AppPath
    bool clientFolderExists = false;
    std::string libraryPath;
    bool libraryExists = false;
    bool libraryLoads = false;
    std::string libraryError;  // the system's text when it does not load
    bool entryExported = false;
    std::string exchangePath;
    bool exchangeExists = false;
    std::vector<std::string> exchangeSections;
    TitleBlockTemplate titleBlock;
    std::string columnTemplatePath;
    bool columnTemplateExists = false;
    std::vector<ColumnTitle> columnTitles;  // in kind order
    // Of vord.ini, the title-block template and the column-title template.
    std::vector<MarkedFile> markedFiles;
};

inline constexpr int kListedEntries = 200;

// `probeLibrary`: load the client library to see that it loads and has its entry.
Installation ReadInstallation(platform::Platform& os, bool probeLibrary);

// One line of the check: what was found (UTF-8) and, when something is wrong, the fix.
struct CheckLine {
    bool ok = true;
    std::string text;
    std::string fix;
};

std::vector<CheckLine> CheckInstallation(const Installation& installation);
// "✓ text" or "✗ text: fix", one line.
std::string FormatCheckLine(const CheckLine& line);

}  // namespace velmarin::inspect
