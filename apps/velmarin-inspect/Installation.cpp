#include "Installation.h"

#include <cstring>
#include <utility>

#include "Shown.h"
#include "bom/ColumnTitles.h"
#include "bridge/VordClient.h"
#include "drawing/TitleProperties.h"
#include "util/FixedTexts.h"
#include "util/IniValues.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace velmarin::inspect {
namespace {

constexpr const char* kConfigSection = title_template::kConfigSection;
constexpr const char* kTemplateFolder = title_template::kTemplateFolder;

bool HasSection(const std::vector<std::string>& sections, const std::string& name) {
    for (const std::string& section : sections) {
        if (text::EqualsNoCase(section, name)) return true;
    }
    return false;
}

CheckLine Good(std::string text) { return {true, std::move(text), {}}; }
CheckLine Bad(std::string text, std::string fix) {
    return {false, std::move(text), std::move(fix)};
}

// The profile functions take a file's bytes in the system's code page: a UTF-8 mark hides the
// section on the first line, and in a UTF-16 file no section is found at all. Told right after
// the file's own line, before what it causes.
void CheckByteOrderMark(const Installation& in, const std::string& path,
                        std::vector<CheckLine>& lines) {
    for (const MarkedFile& file : in.markedFiles) {
        if (file.path != path) continue;
        const bool utf8 = file.encoding == "UTF-8";
        lines.push_back(Bad(
            Shown(file.path) + " is saved as " + file.encoding +
                " with a byte-order mark, so the plug-in " +
                (utf8 ? "does not see the section on its first line" : "finds no section in it") +
                " and reads nothing from it without a word",
            "save it in the system's code page (ANSI, GBK) without the mark"));
    }
}

void CheckClient(const Installation& in, std::vector<CheckLine>& lines) {
    const std::string key = std::string("HKEY_LOCAL_MACHINE\\") + texts::kClientRegistryKey;
    if (!in.appPathFound) {
        lines.push_back(Bad("registry value AppPath of " + key + " is missing",
                            "set it to the VORD client folder (on Linux: an entry AppPath in "
                            "the section [" +
                                std::string(texts::kClientRegistryKey) +
                                "] of the --registry file)"));
        lines.push_back(Bad("client folder unknown", "set the registry value AppPath first"));
        return;
    }
    lines.push_back(Good("registry value AppPath = " + Shown(in.appPath) + " (" + key + ")"));
    if (!in.clientFolderExists) {
        lines.push_back(Bad("client folder " + Shown(in.clientFolder) + " not found",
                            "install the VORD client there or correct AppPath (on Linux: map "
                            "its drive with --drive)"));
        return;
    }
    lines.push_back(Good("client folder " + Shown(in.clientFolder)));

    const std::string library = Shown(in.libraryPath);
    if (!in.libraryExists) {
        lines.push_back(Bad("client library " + library + " missing",
                            "install the VORD client's VORDDll.dll there; until then every "
                            "request shows \"dll not exists !\""));
    } else if (!in.libraryLoads) {
        lines.push_back(Good("client library " + library + " present"));
        lines.push_back(Bad("client library does not load: " + Shown(in.libraryError),
                            "install a VORDDll.dll built for this system (the 32-bit editor "
                            "needs a 32-bit library)"));
    } else {
        lines.push_back(Good("client library " + library + " present and loads"));
        if (in.entryExported) {
            lines.push_back(Good(std::string("client library exports ") + texts::kClientEntryName));
        } else {
            lines.push_back(
                Bad(std::string("client library does not export ") + texts::kClientEntryName,
                    "install the VORD client's own VORDDll.dll; without the entry "
                    "every request counts as refused"));
        }
    }

    const std::string exchange = Shown(in.exchangePath);
    if (!in.exchangeExists) {
        lines.push_back(Bad("exchange file " + exchange + " missing",
                            "create it (it may be empty but for [BPT]); the plug-in never "
                            "creates it and reads every answer as empty without it"));
        return;
    }
    lines.push_back(Good("exchange file " + exchange));
    CheckByteOrderMark(in, in.exchangePath, lines);
    // The exchange sections are written by the requests themselves (the plug-in writes
    // [DllParam], the client [DllReturn]); [BPT] is the administrator's.
    for (const char* section : {texts::kExchangeParamSection, texts::kExchangeReturnSection}) {
        lines.push_back(Good(exchange + (HasSection(in.exchangeSections, section)
                                             ? " has [" + std::string(section) + "]"
                                             : " has no [" + std::string(section) +
                                                   "] yet; the first request writes it")));
    }
    if (HasSection(in.exchangeSections, kConfigSection)) {
        lines.push_back(Good(exchange + " has [" + std::string(kConfigSection) + "]"));
    } else {
        lines.push_back(Bad(exchange + " has no [" + std::string(kConfigSection) +
                                "], so no title-block template is named",
                            "add [BPT] with BPT_NAME=<template file>"));
    }
}

std::string EntryText(const TitleTemplateEntry& entry) {
    std::string text = "BLOCK" + std::to_string(entry.number) + ": block \"" +
                       Shown(entry.blockName) + "\", attributes";
    for (std::size_t i = 0; i < entry.wanted.size(); ++i) {
        text += (i == 0 ? " " : ", ") + Shown(entry.wanted[i].first) + " \xE2\x86\x92 " +
                Shown(entry.wanted[i].second);
    }
    return text;
}

void CheckTitleBlockTemplate(const Installation& in, std::vector<CheckLine>& lines) {
    if (!in.exchangeExists) return;  // vord.ini is the exchange file, reported above
    const TitleBlockTemplate& tb = in.titleBlock;
    const TitleTemplateListing& listing = tb.listing;
    if (!HasSection(in.exchangeSections, kConfigSection)) return;  // reported with the file
    if (!tb.named) {
        lines.push_back(Bad("vord.ini names no title-block template",
                            "add BPT_NAME=<template file> to its section [BPT]; the file goes "
                            "in " +
                                Shown(in.clientFolder) + kTemplateFolder));
        return;
    }
    const std::string path = Shown(tb.path);
    if (!listing.exists) {
        lines.push_back(Bad("title-block template " + path + " not found",
                            "put the template there or correct BPT_NAME in [BPT] of vord.ini"));
        return;
    }
    lines.push_back(Good("title-block template " + path));
    CheckByteOrderMark(in, tb.path, lines);
    if (listing.count < 1) {
        lines.push_back(Bad("title-block template: BLOCKCOUNT is \"" + Shown(listing.countText) +
                                "\", so no block is a title block",
                            "set BLOCKCOUNT in [COUNT] to the number of entries BLOCK1 ... "
                            "BLOCK<n>"));
    } else {
        lines.push_back(Good("title-block template: BLOCKCOUNT=" + std::to_string(listing.count)));
    }
    for (const TitleTemplateEntry& entry : listing.entries) {
        const std::string name = "BLOCK" + std::to_string(entry.number);
        if (!entry.present) {
            lines.push_back(Bad(name + ": no such section",
                                "add [" + name + "] with BLOCK_NAME, or lower BLOCKCOUNT"));
        } else if (entry.blockName.empty()) {
            lines.push_back(Bad(name + ": no BLOCK_NAME, so it matches no block",
                                "add BLOCK_NAME=<title block name> (letter case counts)"));
        } else if (entry.wanted.empty()) {
            lines.push_back(Bad(EntryText(entry) + " none wanted",
                                "add TAG=property name lines for the attributes to hand on"));
        } else {
            lines.push_back(Good(EntryText(entry)));
        }
    }
    if (listing.count > kListedEntries) {
        lines.push_back(
            Good("entries after BLOCK" + std::to_string(kListedEntries) + " are not listed"));
    }
    if (!listing.textMode) {
        lines.push_back(Good("title-block mode: attributes (BlockPty is not \"false\")"));
    } else if (listing.separator.empty()) {
        lines.push_back(
            Bad("title-block mode: title texts in the batch run (BlockPty=false), "
                "but TextChar is empty, so no text gives a label",
                "set TextChar in [Info] to the label separator, such as \xEF\xBC\x9A"));
    } else {
        lines.push_back(
            Good("title-block mode: title texts in the batch run (BlockPty=false), "
                 "separator \"" +
                 Shown(listing.separator) + "\"; the save commands read attributes"));
    }
}

void CheckColumnTitles(const Installation& in, std::vector<CheckLine>& lines) {
    const std::string path = Shown(in.columnTemplatePath);
    if (!in.columnTemplateExists) {
        lines.push_back(Bad("column-title template " + path + " not found",
                            "create it with a section [TABLE] naming the column titles; without "
                            "it no parts list is recognised"));
        return;
    }
    std::string found;
    std::string partNameTitle;
    for (const ColumnTitle& column : in.columnTitles) {
        if (column.title.empty()) continue;
        found += (found.empty() ? "" : ", ") + Shown(column.key) + "=" + Shown(column.title);
        if (column.kind == kPartNameKind) partNameTitle = column.title;
    }
    lines.push_back(Good("column-title template " + path + ": " +
                         (found.empty() ? std::string("no titles") : found)));
    CheckByteOrderMark(in, in.columnTemplatePath, lines);
    if (partNameTitle.empty()) {
        lines.push_back(Bad(
            "column-title template gives no title for " + Shown(texts::kPartNameTitleKey) +
                ", so no table is recognised",
            "set " + Shown(texts::kPartNameTitleKey) + "=<the name column's title> in [TABLE]"));
    }
}

// "UTF-8" or "UTF-16" for a file that begins with that byte-order mark, "" otherwise.
std::string ByteOrderMarkOf(platform::Platform& os, const std::string& path) {
    std::string bytes;
    if (!os.readFile(path, bytes)) return {};
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return "UTF-8";
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        return "UTF-16";
    }
    return {};
}

}  // namespace

Installation ReadInstallation(platform::Platform& os, bool probeLibrary) {
    Installation in;
    in.appPathFound =
        os.readRegistryString(texts::kClientRegistryKey, texts::kClientRegistryValue, in.appPath) &&
        !in.appPath.empty();
    // The folders and files as the plug-in's client bridge names them; nothing is called.
    const VordClient client(0, 0);
    in.clientFolder = client.clientFolder;
    // The folder itself, without its backslash, is the directory entry to look for.
    in.clientFolderExists =
        in.appPathFound && util::FileExists(in.clientFolder.substr(0, in.clientFolder.size() - 1));
    in.libraryPath = client.libraryPath;
    in.libraryExists = util::FileExists(in.libraryPath);
    if (in.libraryExists && probeLibrary) {
        const platform::LibraryHandle library = os.loadLibrary(in.libraryPath, in.libraryError);
        in.libraryLoads = library != nullptr;
        in.entryExported = in.libraryLoads && os.getProcAddress(library, texts::kClientEntryName);
    }
    in.exchangePath = client.exchangeFilePath;
    in.exchangeExists = in.appPathFound && util::FileExists(in.exchangePath);
    if (in.exchangeExists) {
        in.exchangeSections = util::ReadIniNames(nullptr, in.exchangePath);
        in.titleBlock.path = TitleTemplatePath(in.clientFolder);
        in.titleBlock.named =
            in.titleBlock.path.size() > in.clientFolder.size() + std::strlen(kTemplateFolder);
        if (in.titleBlock.named) {
            in.titleBlock.listing = ListTitleTemplate(in.titleBlock.path, kListedEntries);
        }
    }
    in.columnTemplatePath = texts::kColumnTitleTemplate;
    in.columnTemplateExists = util::FileExists(in.columnTemplatePath);
    // The titles as the table recognition reads them.
    const ColumnTitles titles = bom::ReadColumnTitles();
    for (std::size_t i = 0; i < kColumnKindTable.size(); ++i) {
        in.columnTitles.push_back(
            {static_cast<int>(i) + 1, kColumnKindTable[i].tableKey, titles[i]});
    }
    const std::pair<bool, const std::string*> profiles[] = {
        {in.exchangeExists, &in.exchangePath},
        {in.titleBlock.listing.exists, &in.titleBlock.path},
        {in.columnTemplateExists, &in.columnTemplatePath}};
    for (const auto& [exists, path] : profiles) {
        const std::string encoding = exists ? ByteOrderMarkOf(os, *path) : std::string();
        if (!encoding.empty()) in.markedFiles.push_back({*path, encoding});
    }
    return in;
}

std::vector<CheckLine> CheckInstallation(const Installation& installation) {
    std::vector<CheckLine> lines;
    CheckClient(installation, lines);
    CheckTitleBlockTemplate(installation, lines);
    CheckColumnTitles(installation, lines);
    return lines;
}

std::string FormatCheckLine(const CheckLine& line) {
    if (line.ok) return "\xE2\x9C\x93 " + line.text;
    return "\xE2\x9C\x97 " + line.text + " \xE2\x80\x94 fix: " + line.fix;
}

}  // namespace velmarin::inspect
