#pragma once
// The utility object: paths, single INI values, registry and library calls, text and number
// operations, and the BOM working state with its analysis, writers and tree linking, and the
// print-information operations. The application keeps one instance.
//
// Member implementations live with their subsystem: util/ (paths, INI values, registry and
// library calls, text), bom/ (recognition, layout analysis, BOM detail file), tree/
// (LinkBomToTree), print/ (frame corner, print-information texts).

#include <array>
#include <string>
#include <vector>

#include "bom/BomTypes.h"
#include "host/Host.h"
#include "platform/Platform.h"

namespace velmarin {

class TdaFunc {
public:
    // --- Paths and module location (util/Paths.cpp)
    std::string GetModuleFolder(std::string moduleName) const;
    std::string GetDrive(std::string path) const;
    int FileExists(std::string path) const;
    int CreateFolders(std::string path, int start) const;
    std::string AddBackslash(std::string folder) const;

    // --- Single INI values (util/IniValues.cpp)
    int ReadIniString(const std::string& section, const std::string& key, std::string& value,
                      const std::string& file) const;
    int WriteIniString(const std::string& section, const std::string& key,
                       const std::string& value, const std::string& file) const;

    // --- Registry and library calls (util/ClientCalls.cpp)
    std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName) const;
    platform::LibraryHandle LoadClientLibrary(const std::string& path) const;
    void* GetClientProc(const std::string& path, const std::string& name) const;
    int CallClientEntry(const std::string& path, const std::string& name, int argument) const;

    // --- Text and number operations (util/TextOps.cpp)
    std::string TrimText(std::string text) const;
    int FindNoCase(std::string needle, std::string haystack) const;
    int CompareNoCase(const std::string& a, const std::string& b) const;
    std::string IntToText(int value) const;
    void ParsePlanePoint(std::string text, host::Point3& result, const host::Point3& base) const;
    int ParseLeadingInt(std::string text) const;
    void CommasToSpaces(std::string& text, int flag) const;

    // --- BOM working state (bom/)
    std::vector<BomInfo> bomRows;
    std::vector<TextInfo> texts;
    std::array<std::vector<std::string>, kColumnKinds> columnValues;  // by slot
    std::vector<double> gridX;
    std::vector<double> gridY;
    std::vector<std::string> columnTitles;  // by kind - 1
    std::vector<int> headerTexts;
    std::vector<int> drawingStarts;  // first row in bomRows of each drawing of a batch

    // Recognition (bom/BomRecognition.cpp)
    void ResetBom();
    int ExtractBomTable(const host::SelectionSet& selection, const std::string& bomPath);
    void AddText(const std::string& text, int row, int column);
    static std::string StripMTextFormat(const std::string& contents);

    // Layout analysis (bom/BomLayout.cpp)
    void AssignColumnKinds();
    void DistributeTexts();
    static void PutCell(std::vector<std::string>& list, const std::string& text, int row);
    void BuildBomRows(const std::string& bomPath);

    // BOM detail file (bom/BomFile.cpp)
    void WriteBomFile(const std::string& path);
    void WriteBomFileRows(int rowCount, int firstRow, const std::string& path);
    static std::string ColumnValueAt(const std::vector<std::string>& list, int position);

    // --- Assembly tree linking (tree/LinkBomToTree.cpp)
    void LinkBomToTree(const std::string& treeFilePath);

    // --- Print information (print/)
    int GetFrameCorner(host::Point3& corner);
    void AddPrintInfoText(const std::string& text, const host::Point3& position, int height,
                          int fitLength, host::ObjectId textStyle, int widthMode);
};

}  // namespace velmarin
