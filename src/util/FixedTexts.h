#pragma once
// Every fixed text the system shows or writes, as GBK bytes. Hex escapes keep the bytes the same
// whatever the compiler's source and execution character sets are; a literal is split wherever
// an ASCII hex digit follows an escape, so that the escape ends where it should.

namespace velmarin::texts {

// Messages.
inline constexpr const char kLoginFirst[] =  // 在操作前请先登陆系统!
    "\xD4\xDA\xB2\xD9\xD7\xF7\xC7\xB0\xC7\xEB\xCF\xC8\xB5\xC7\xC2\xBD\xCF\xB5\xCD\xB3!";
inline constexpr const char kLoginBeforeBatch[] =  // 请您先登陆！再进行此操作。
    "\xC7\xEB\xC4\xFA\xCF\xC8\xB5\xC7\xC2\xBD\xA3\xA1\xD4\xD9\xBD\xF8\xD0\xD0\xB4\xCB\xB2\xD9\xD7"
    "\xF7\xA1\xA3";
inline constexpr const char kFileAlreadyOpen[] =
    "\xCE\xC4\xBC\xFE\xD2\xD1\xBE\xAD\xB4\xF2\xBF\xAA!";
inline constexpr const char kNoRightToSave[] =
    "\xCE\xDE\xC8\xA8\xB1\xA3\xB4\xE6\xB8\xC3\xCE\xC4\xBC\xFE!";
inline constexpr const char kSaveFailed[] =  // 保存文件失败!\r\n新的文件名:
    "\xB1\xA3\xB4\xE6\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC!"
    "\r\n\xD0\xC2\xB5\xC4\xCE\xC4\xBC\xFE\xC3\xFB:";
inline constexpr const char kSaveAsFailed[] =  // 另存文件失败!\r\n新的文件名:
    "\xC1\xED\xB4\xE6\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC!"
    "\r\n\xD0\xC2\xB5\xC4\xCE\xC4\xBC\xFE\xC3\xFB:";
inline constexpr const char kBomExtracted[] =  // 提取BOM明细完成！
    "\xCC\xE1\xC8\xA1"
    "BOM\xC3\xF7\xCF\xB8\xCD\xEA\xB3\xC9\xA3\xA1";
inline constexpr const char kCannotCreateFile[] = "Couldn't create the file!";
inline constexpr const char kWriteFileFailed[] =  // 写入文件失败!\r\n文件名: (followed by the path)
    "\xD0\xB4\xC8\xEB\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC!\r\n\xCE\xC4\xBC\xFE\xC3\xFB:";
inline constexpr const char kDeletePrintFileFailed[] =  // 删除配置文件失败！请手动删除配置文件！
    "\xC9\xBE\xB3\xFD\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC\xA3\xA1\xC7\xEB\xCA\xD6\xB6"
    "\xAF\xC9\xBE\xB3\xFD\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xA3\xA1";
inline constexpr const char kReadPrintFileFailed[] =  // 读取配置文件失败！ (the path follows)
    "\xB6\xC1\xC8\xA1\xC5\xE4\xD6\xC3\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC\xA3\xA1";
// An operation script at a path Windows' file functions do not take (the path follows).
inline constexpr const char kScriptPathTooLong[] =  // 读取操作脚本失败！路径超过259个字符：
    "\xB6\xC1\xC8\xA1\xB2\xD9\xD7\xF7\xBD\xC5\xB1\xBE\xCA\xA7\xB0\xDC\xA3\xA1\xC2\xB7\xBE\xB6"
    "\xB3\xAC\xB9\xFD"
    "259"
    "\xB8\xF6\xD7\xD6\xB7\xFB\xA3\xBA";
inline constexpr const char kBlockTableReadFailed[] =
    "\n\xB6\xC1\xC8\xA1\xBF\xE9\xB1\xED\xCA\xA7\xB0\xDC";
// Something unforeseen stopped a command; the reason follows.
inline constexpr const char kCommandFailed[] =  // 命令执行失败!\r\n原因:
    "\xC3\xFC\xC1\xEE\xD6\xB4\xD0\xD0\xCA\xA7\xB0\xDC!\r\n\xD4\xAD\xD2\xF2:";
inline constexpr const char kOutOfMemory[] = "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3";   // 内存不足
inline constexpr const char kUnknownError[] = "\xCE\xB4\xD6\xAA\xB4\xED\xCE\xF3";  // 未知错误
inline constexpr const char kDllNotExists[] = "dll not exists !";
inline constexpr const char kErrorTitle[] = "Error";

// The BOM detail file's signature and its two constant header lines (captions, column marks).
inline constexpr const char kBomFileSignature[] = "DUD13.O BomMxFile1.0\r\n";
inline constexpr const char
    kBomFileCaptions[] =  // " ID" 序号 数量 总图号 明细图号 名称规格 材质 单重 备注
    " ID          \xD0\xF2\xBA\xC5 \xCA\xFD\xC1\xBF \xD7\xDC\xCD\xBC\xBA\xC5               "
    "\xC3\xF7\xCF\xB8\xCD\xBC\xBA\xC5              \xC3\xFB\xB3\xC6\xB9\xE6\xB8\xF1    "
    "\xB2\xC4\xD6\xCA  \xB5\xA5\xD6\xD8                               \xB1\xB8\xD7\xA2\r\n";
inline constexpr const char kBomFileMarks[] =
    "              #    #                           #                     #          #      "
    "                                 #\r\n";

// Layers, titles and property names.
inline constexpr const char kFrameLayer[] = "\xCD\xBC\xBF\xF2\xB2\xE3";  // 图框层
inline constexpr const char kPrintInfoLayer[] = "ASDK_VORD";
inline constexpr const char kPartNameTitleKey[] = "\xC3\xFB\xB3\xC6";     // 名称
inline constexpr const char kDrawingNameProperty[] = "\xCD\xBC\xC3\xFB";  // 图名
inline constexpr const char kScaleMark1[] = "\xB1\xC8";                   // 比
inline constexpr const char kScaleMark2[] = "\xC0\xFD";                   // 例
inline constexpr const char kFullWidthColon[] = "\xA3\xBA";               // ：
inline constexpr const char kConfigValuePrefix[] = "config-Value-";
inline constexpr const char kConfigTypePrefix[] = "config-Type-";

// Client installation.
inline constexpr const char kClientRegistryKey[] = "SOFTWARE\\TORVEL\\VORD";
inline constexpr const char kClientRegistryValue[] = "AppPath";
inline constexpr const char kExchangeFileName[] = "VORD.ini";
inline constexpr const char kConfigFileName[] = "vord.ini";
inline constexpr const char kClientLibraryName[] = "VORDDll.dll";
inline constexpr const char kClientEntryName[] = "VORD_Invoke";
inline constexpr const char kModuleFileName[] = "Velmarin.arx";
inline constexpr const char kColumnTitleTemplate[] = "D:\\torvel\\VORD\\source\\BPT\\QANTOR.bpt";

// The commands the module registers with the host: their group, then each command's global
// (underscored) and local name, in registration order.
inline constexpr const char kCommandGroup[] = "Velmarin";
inline constexpr const char kOpenCommand[] = "openmethod";
inline constexpr const char kOpenCommandGlobal[] = "_openmethod";
inline constexpr const char kSaveCommand[] = "savemethod";
inline constexpr const char kSaveCommandGlobal[] = "_savemethod";
inline constexpr const char kLoginCommand[] = "loginmethod";
inline constexpr const char kLoginCommandGlobal[] = "_loginmethod";
inline constexpr const char kSaveAsCommand[] = "saveasmethod";
inline constexpr const char kSaveAsCommandGlobal[] = "_saveasmethod";
inline constexpr const char kBatchCommand[] = "VORD_batchchange";
inline constexpr const char kBatchCommandGlobal[] = "_VORD_batchchange";
inline constexpr const char kSaveBomCommand[] = "savebom";
inline constexpr const char kSaveBomCommandGlobal[] = "_savebom";
inline constexpr const char kPrintCommand[] = "PrintMethod";
inline constexpr const char kPrintCommandGlobal[] = "_PrintMethod";

// --- Parts list, assembly tree and the commands that write them.

// The parts list: the column-title template's section, the table's entity classes, the detail
// file's extension and the drawing name a row gets.
inline constexpr const char kColumnTitleSection[] = "TABLE";
// The keys of that section, by column kind - 1.
inline constexpr const char* const kColumnTitleKeys[] = {
    "ID",
    "\xD0\xF2\xBA\xC5",                  // 序号
    "\xCA\xFD\xC1\xBF",                  // 数量
    "\xD7\xDC\xCD\xBC\xBA\xC5",          // 总图号
    "\xC3\xF7\xCF\xB8\xCD\xBC\xBA\xC5",  // 明细图号
    "\xC3\xFB\xB3\xC6",                  // 名称
    "\xB9\xE6\xB8\xF1",                  // 规格
    "\xB2\xC4\xD6\xCA",                  // 材质
    "\xB5\xA5\xD6\xD8",                  // 单重
    "DESCRIPTION",
    "MAT'L",
    "PST",
    "Unit",
    "WORK NO.",
    "PREBUY",
    "\xCE\xEF\xC1\xCF\xB1\xE0\xC2\xEB",  // 物料编码
    "TAG NO.",
    "\xB1\xB8\xD7\xA2",  // 备注
};
// The host's selection mode for what lies entirely inside a window.
inline constexpr const char kWindowSelection[] = "W";
inline constexpr const char kTableProxyClass[] = "AcDbZombieEntity";
inline constexpr const char kMTextClass[] = "AcDbMText";
inline constexpr const char kPolylineClass[] = "AcDbPolyline";
inline constexpr const char kBomFileExtension[] = ".bmf";
inline constexpr const char kDrawingExtension[] = ".dwg";

// The tree file: its place in the client's folder, its sections and keys.
inline constexpr const char kClientTempFolder[] = "temp";
inline constexpr const char kTreeFileName[] = "sldTree.ini";
inline constexpr const char kTreeInfoSection[] = "TreeNodeInfo";
inline constexpr const char kTreeNodeSectionPrefix[] = "TreeNode";
inline constexpr const char kTreeCountKey[] = "Count";
inline constexpr const char kTreeChildCountKey[] = "ChildCount";
inline constexpr const char kTreeChildNamePrefix[] = "childname";
inline constexpr const char kTreeTextKey[] = "Text";
inline constexpr const char kTreeLevelKey[] = "Level";
inline constexpr const char kTreePathKey[] = "Path";
inline constexpr const char kTreeNodeCountKey[] = "count";
inline constexpr const char kTreeRelationKey[] = "relatype";
inline constexpr const char kTreeRootLevel[] = "0";
inline constexpr const char kTreeOneNode[] = "1";
inline constexpr const char kTreeRelationType[] = "6";
inline constexpr const char kTreeNoChildren[] = "0";
inline constexpr const char kTreePropertyType[] = "0";  // the type of a property taken from a row

// The client's save script in the plug-in's own folder.
inline constexpr const char kOperateScript[] = "temp\\Operate.ini";

// The batch run's file dialog.
inline constexpr const char kDwgDialogExtension[] = "dwg";
inline constexpr const char kDwgFilter[] =  // dwg文件(*.dwg)|*.dwg|所有文件(*.*)|*.*||
    "dwg\xCE\xC4\xBC\xFE(*.dwg)|*.dwg|\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE(*.*)|*.*||";

// The batch run's command-line lines; each number or path is put where the texts are split.
inline constexpr const char kBatchReading[] =
    "\xD5\xFD\xD4\xDA\xB6\xC1\xC8\xA1\xB5\xDA ";  // 正在读取第
inline constexpr const char kBatchReadingOf[] = "/";
inline constexpr const char kBatchReadingDrawing[] = " \xD5\xC5\xCD\xBC\xD6\xBD: ";  // 张图纸:
inline constexpr const char kBatchFinished[] =  // 批量处理完成: 读取
    "\xC5\xFA\xC1\xBF\xB4\xA6\xC0\xED\xCD\xEA\xB3\xC9: \xB6\xC1\xC8\xA1 ";
inline constexpr const char kBatchFinishedSkipped[] =  // 张图纸, 跳过
    " \xD5\xC5\xCD\xBC\xD6\xBD, \xCC\xF8\xB9\xFD ";
inline constexpr const char kBatchFinishedEnd[] = " \xD5\xC5\xA1\xA3";  // 张。
inline constexpr const char kBatchSkippedMissing[] =
    "\xCE\xB4\xD5\xD2\xB5\xBD\xCD\xBC\xD6\xBD: ";   // 未找到图纸:
inline constexpr const char kCannotOpenDrawing[] =  // 无法打开图纸:
    "\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xCD\xBC\xD6\xBD: ";
inline constexpr const char kBatchLinked[] = "\xD2\xD1\xBD\xAB ";  // 已将
inline constexpr const char kBatchLinkedEnd[] =                    // 个零件关联到装配图。
    " \xB8\xF6\xC1\xE3\xBC\xFE\xB9\xD8\xC1\xAA\xB5\xBD\xD7\xB0\xC5\xE4\xCD\xBC\xA1\xA3";
inline constexpr const char kTreeFileSent[] =  // 装配树文件已提交 VORD。
    "\xD7\xB0\xC5\xE4\xCA\xF7\xCE\xC4\xBC\xFE\xD2\xD1\xCC\xE1\xBD\xBB VORD\xA1\xA3";
inline constexpr const char kTreeFileNotSent[] =  // 装配树文件未能提交 VORD。
    "\xD7\xB0\xC5\xE4\xCA\xF7\xCE\xC4\xBC\xFE\xCE\xB4\xC4\xDC\xCC\xE1\xBD\xBB VORD\xA1\xA3";

}  // namespace velmarin::texts

// --- Names and texts of the operation scripts, the exchange file, the title-block template, the
// print flow file and the command table.
namespace velmarin::texts {

// Operation-script sections, in the order they run, and the separator of a transfer record.
inline constexpr const char kScriptCloseFile[] = "CloseFile";
inline constexpr const char kScriptDeleteFile[] = "DeleteFile";
inline constexpr const char kScriptDownload[] = "Download";
inline constexpr const char kScriptUpload[] = "UpLoadFile";
inline constexpr const char kScriptOpenFile[] = "OpenFile";
inline constexpr const char kScriptReadOnly[] = "ReadOnly";
inline constexpr const char kScriptUnReadOnly[] = "UnReadOnly";
inline constexpr const char kScriptTransferSeparator[] = "<";

// The exchange file: parameters param1.. before a call, answers return1.. after it.
inline constexpr const char kExchangeParamSection[] = "DllParam";
inline constexpr const char kExchangeParamKeyPrefix[] = "param";
inline constexpr const char kExchangeReturnSection[] = "DllReturn";
inline constexpr const char kExchangeReturnKeyPrefix[] = "return";

// The title-block template and its place in vord.ini.
namespace title_template {
inline constexpr const char kConfigSection[] = "BPT";  // of vord.ini
inline constexpr const char kTemplateNameKey[] = "BPT_NAME";
inline constexpr const char kTemplateFolder[] = "source\\BPT\\";  // in the client folder
inline constexpr const char kCountSection[] = "COUNT";
inline constexpr const char kBlockCountKey[] = "BLOCKCOUNT";
inline constexpr const char kEntrySectionPrefix[] = "BLOCK";  // BLOCK1 ... BLOCK<count>
inline constexpr const char kBlockNameKey[] = "BLOCK_NAME";
inline constexpr const char kInfoSection[] = "Info";
inline constexpr const char kBlockPropertyKey[] = "BlockPty";  // "false": title texts
inline constexpr const char kSeparatorKey[] = "TextChar";
inline constexpr const char kTextMode[] = "false";
inline constexpr const char kPropertyNamesSection[] = "PtyNames";
// The type of every property the plug-in reads.
inline constexpr const char kPropertyType[] = "0";
}  // namespace title_template

// The host's class names of the two text entities and the paragraph code of a multiline text.
inline constexpr const char kTextClassName[] = "AcDbText";
inline constexpr const char kMTextClassName[] = "AcDbMText";
inline constexpr const char kParagraphCode[] = "\\P";

// The print flow file beside a drawing and its three section headers.
inline constexpr const char kPrintFlowSuffix[] = ".print.ini";
inline constexpr const char kPrintWorkflowHeader[] = "[workflow]";
inline constexpr const char kPrintFlowHeader[] = "[PrintFlow]";
inline constexpr const char kPrintCheckFieldHeader[] = "[CheckField]";

}  // namespace velmarin::texts
