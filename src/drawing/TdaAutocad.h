#pragma once
// The drawing object: opening, finding and closing drawings, reading a drawing's title block
// (by attributes or by plain texts), and writing drawings into the tree file. It keeps no state
// between calls. The tree-file writers are implemented in tree/.

#include <string>

#include "host/Host.h"

namespace velmarin {

class AssNode;
class TdaFunc;
class TdaVORD;

class TdaAutocad {
public:
    TdaAutocad(TdaFunc& func, TdaVORD& vord) : func_(func), vord_(vord) {}

    // --- Opening drawings (drawing/Documents.cpp)
    host::Document* FindOpenDocument(const std::string& path);
    host::Document* OpenDrawing(const std::string& path);
    int CloseDrawing(host::Document* document);
    std::string GetCurrentFileName();

    // --- Title block by attributes (drawing/TitleBlock.cpp)
    std::string GetTemplatePath();
    bool FindTitleBlockSection(const std::string& blockName, std::string& section);
    void CollectBlockAttributes(host::BlockTableRecord& space, const std::string& templatePath,
                                AssNode& node);
    bool ReadTitleBlock(AssNode& node);

    // --- Title texts (drawing/TitleTexts.cpp)
    bool ReadDrawingInfo(AssNode& node);
    void CollectTitleTexts(host::BlockTableRecord& space, const std::string& separator,
                           AssNode& node);
    std::string LookupPropertyName(const std::string& label);
    static void SplitAtSeparator(const std::string& text, const std::string& separator,
                                 std::string& left, std::string& right);
    static void SplitColonText(const std::string& text, std::string& name, std::string& value);
    static std::string StripTextFormatting(const std::string& text);
    std::string GetEntityClassName(host::ObjectId id);

    // --- Tree file (tree/TreeFiles.cpp)
    std::string WriteSaveTreeFile();
    std::string WriteBatchTreeNode(int index);
    std::string CollectDrawingBom();

    TdaFunc& func() { return func_; }
    TdaVORD& vord() { return vord_; }

private:
    TdaFunc& func_;
    TdaVORD& vord_;
};

}  // namespace velmarin
