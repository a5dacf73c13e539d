#include "tongqiu/table/table_messages.h"

#include "input_columns.h"
#include "row_conversion.h"
#include "tongqiu/failure_message.h"
#include "tongqiu/number_text.h"
#include "tongqiu/table/ball_kit.h"
#include "xlsx/read/xml_parser.h"

namespace tongqiu::table {
namespace {

std::string Quoted(std::string_view text) { return "“" + std::string(text) + "”"; }

// "“a”、“b”".
std::string QuotedList(const std::vector<std::string>& texts) {
    std::string list;
    for (const auto& text : texts) list.append(list.empty() ? "" : "、").append(Quoted(text));
    return list;
}

std::string LatinNameOf(std::string_view caption) {
    for (std::size_t input = 0; input < kInputFields.size(); ++input) {
        if (CaptionOf(kInputFields[input]) == caption) return std::string(kLatinNames[input]);
    }
    return {};
}

// What a workbook's number shows, where that is no length.
std::string_view ShownAs(Shows shows) {
    switch (shows) {
        case Shows::Percent:
            return "百分比";
        case Shows::Fraction:
            return "分数";
        case Shows::Date:
            return "日期";
        case Shows::Time:
            return "时间";
        case Shows::Number:
            return "数字";
        case Shows::Text:
            return "文本";
    }
    return {};
}

// What XML that the parser refused has wrong, and where in its part.
std::string XmlMessage(const TableError& error, std::string_view fault) {
    return "XML 格式有误（第 " + std::to_string(error.partLine) + " 行）：" + std::string(fault) +
           "。";
}

// The error's words, without the part of a workbook it is about.
std::string FaultMessage(const TableError& error) {
    switch (error.fault) {
        case TableFault::Empty:
            return "没有表头：文件是空的。";
        case TableFault::ColumnTwice:
            return "表头中" + Quoted(error.name) + "列出现了两次。";
        case TableFault::ColumnMissing: {
            // 外径 and 壁厚 may come together in one 规格 column.
            const bool inSize = error.name != CaptionOf(FieldName::Text3);
            return "表头缺少" + Quoted(error.name) + "列（也可写作 " + LatinNameOf(error.name) +
                   (inSize ? "；外径和壁厚也可合写在“规格”列中，如 Φ38×4" : "") + "）。";
        }
        case TableFault::NoSheetHasHeader: {
            std::string headings;
            for (const std::string& heading : error.choices) headings += Quoted(heading);
            if (error.choices.empty()) headings = "“外径”“壁厚”“弯曲半径”三";
            if (error.choices.size() == 2) headings += "两";
            return "没有一个工作表在前 " + std::to_string(kHeaderSearchRows) + " 行中有含" +
                   headings + "列的表头。";
        }
        case TableFault::KitColumnMissing:
            return "球库的表头缺少" + Quoted(error.name) + "列（表头须有“球号”和“直径”两列）。";
        case TableFault::KitNumberEmpty:
            return "球号是空的。";
        case TableFault::KitNumberTwice:
            return "球号" + Quoted(error.name) + "重复（第 " + std::to_string(error.partLine) +
                   " 行已有）。";
        case TableFault::KitDiameterNotNumber:
            return "直径" + Quoted(error.name) + "不是数字。";
        case TableFault::KitDiameterNotPositive:
            return "直径" + Quoted(error.name) + "应大于 0。";
        case TableFault::NotRecord:
            return "不是本程序写出的通球记录：前 " + std::to_string(kHeaderSearchRows + 3) +
                   " 行中没有含“序号”“结果”“检验员”“日期”的表头。";
        case TableFault::KitEmpty:
            return "球库中没有球。";
        case TableFault::KitTooLarge:
            return "球库超过 " + std::to_string(kMaxKitBalls) + " 个球。";
        case TableFault::NotGb18030:
            return "不是有效的 GB18030 文本。";
        case TableFault::NotUtf8:
            return "不是有效的 UTF-8 文本，而前面的行是 UTF-8。";
        case TableFault::NotUtf8Unreadable:
            return "不是有效的 UTF-8 文本，可能是 GB18030（GBK）。标准输入无法重读，"
                   "请以文件名给出输入。";
        case TableFault::NoConverter:
        case TableFault::OutputNoConverter:
            return "系统缺少 GB18030 编码的转换，无法处理。";
        case TableFault::ReadFailed:
            return "读取失败。";
        case TableFault::CellTooLarge:
            return "单元格超过 1 MB。";
        case TableFault::UnclosedQuote:
            return "引号没有闭合。";
        case TableFault::PipedWorkbookTooLarge:
            return "从标准输入读取的工作簿超过 128 MB，请以文件名给出。";
        case TableFault::NoSuchSheet:
            return "没有名为" + Quoted(error.name) + "的工作表；工作簿中有 " +
                   QuotedList(error.choices) + "。";
        case TableFault::NoSheets:
            return "工作簿中没有工作表。";
        case TableFault::SheetMissing:
            return "工作表" + Quoted(error.name) + "缺失：工作簿已损坏。";
        case TableFault::NotWorkbook:
            return "不是 Excel 工作簿（.xlsx）：ZIP 中没有 xl/workbook.xml。";
        case TableFault::PasswordProtected:
            return "工作簿有密码保护：请在 Excel 或 WPS 中取消密码后再试。";
        case TableFault::OldExcelFile:
            return "旧版 Excel 文件（.xls）：请在 Excel 或 WPS 中另存为 .xlsx 或 CSV。";
        case TableFault::ArchiveDamaged:
            return "ZIP 文件已损坏或不完整。";
        case TableFault::Zip64:
            return "ZIP64 格式的文件太大，无法读取。";
        case TableFault::PartMissing:
            return "缺少 " + error.part + "。";
        case TableFault::OutputFailed:
            return "无法写入。";
        case TableFault::OutputSheetFull:
            return "工作表最多 1048576 行、16384 列，结果放不下。请写成 CSV。";
        case TableFault::OutputCellTooLong:
            return "单元格超过 32767 个字符，工作簿中放不下。请写成 CSV。";
        case TableFault::OutputWorkbookFailed:
            return "无法写入工作簿：" + error.name + "。";
        case TableFault::PartDamaged:
            return "ZIP 文件已损坏或不完整。";
        case TableFault::UnsupportedCompression:
            return "不支持的压缩方式。";
        case TableFault::InflatesTooLarge:
            return "解压后过大，可能是恶意文件。";
        case TableFault::OutOfMemory:
            return "内存不足，无法读取。";
        case TableFault::UnreadableContent:
            return "内容有误，无法读取。";
        case TableFault::NestedTooDeep:
            return "元素嵌套超过 " + std::to_string(kMaxXmlDepth) + " 层，工作簿中不应有。";
        case TableFault::HasDtd:
            return "含有 DTD，工作簿中不应有。";
        case TableFault::XmlNamesTooMany:
            return "XML 中的名称或属性过多，超出读取的上限，可能是恶意文件。";
        case TableFault::XmlTokenTooLarge:
            return "XML 中有超过 256 KB 的单个标记，工作簿中不应有。";
        case TableFault::FormatCodeTooLong:
            return "数字格式代码超过 255 个字符（电子表格的上限）。";
        case TableFault::TooManyFormats:
            return "数字格式超过 4096 个，工作簿中不应有这么多。";
        case TableFault::TooManyStyles:
            return "单元格样式超过 65536 个（电子表格的上限）。";
        case TableFault::SharedStringsTooLarge:
            return "共享字符串超过 32 MB，超出读取的上限。";
        case TableFault::SharedStringTooLong:
            return "共享字符串的文本超过 32767 个字符（电子表格单元格的上限）。";
        case TableFault::TooManyColumns:
            return "列数超过 16384。";
        case TableFault::CellTextTooLong:
            return "单元格的文本超过 32767 个字符（电子表格单元格的上限）。";
        case TableFault::BadRowNumber:
            return "行号有误。";
        case TableFault::BadSharedString:
            return "共享字符串编号有误。";
        case TableFault::SharedStringsCopiedTooOften:
            return "引用共享字符串的文本总量过大，可能是恶意文件。";
        case TableFault::RowTooLong:
            return "一行的文本超过 1 MB，表格中不应有。";
        case TableFault::XmlMalformed:
            return XmlMessage(error, "格式有误");
        case TableFault::XmlBadCharacter:
            return XmlMessage(error, "含有无效的字符");
        case TableFault::XmlIncomplete:
            return XmlMessage(error, "内容不完整");
        case TableFault::XmlTagMismatch:
            return XmlMessage(error, "标记不配对");
        case TableFault::XmlDuplicateAttribute:
            return XmlMessage(error, "属性重复");
        case TableFault::XmlUndefinedEntity:
            return XmlMessage(error, "含有未定义的实体");
        case TableFault::XmlUnboundPrefix:
            return XmlMessage(error, "含有未声明的命名空间前缀");
        case TableFault::XmlBadEncoding:
            return XmlMessage(error, "编码有误");
    }
    return {};  // every kind has its words above; -Wswitch names one that has none
}

}  // namespace

std::string TableErrorMessage(const TableError& error) {
    std::string message = FaultMessage(error);
    // A fault inside a part of a workbook names it; PartMissing's words name it already.
    const bool inPart =
        error.fault > TableFault::PartMissing && error.fault < TableFault::OutputFailed;
    return inPart && !error.part.empty() ? error.part + "：" + message : message;
}

std::string Where(std::string_view file, long line) {
    std::string where(file);
    if (line > 0) where.append(" 第 ").append(std::to_string(line)).append(" 行");
    return where;
}

std::string Located(std::string_view file, long line, std::string_view message) {
    return Where(file, line).append("：").append(message);
}

std::string Located(const TableError& error, std::string_view input, std::string_view output) {
    return error.InOutput() ? Located(output, 0, TableErrorMessage(error))
                            : Located(input, error.line, TableErrorMessage(error));
}

std::string RowFailureMessage(const RowFailure& failure) {
    switch (failure.fault) {
        case RowFault::MissingCells:
            return "缺少单元格：表头有 " + std::to_string(failure.width) + " 列，本行只有 " +
                   std::to_string(failure.cells) + " 列。";
        case RowFault::BadSize:
            return "规格应写作 Φ外径×壁厚，如 Φ38×4。";
        case RowFault::NotLength:
            return std::string(CaptionOf(failure.field)) + "显示为" +
                   std::string(ShownAs(failure.shows)) + " " + failure.text + "，不是尺寸。";
        case RowFault::Calculation: {
            std::string message = FailureMessage(failure.failure);
            std::erase(message, '\n');  // one line: each sentence ends in "。"
            return message;
        }
        case RowFault::BadKind:
            return "类型应为“有拼接焊缝无弯头”“有弯头无拼接焊缝”或“有弯头有拼接焊缝”。";
        case RowFault::NoKitBall:
            return "球库中没有直径在 " + FormatFixed(failure.from, Pattern::TwoPlaces) + " 与 " +
                   FormatFixed(failure.below, Pattern::TwoPlaces) + " mm 之间的球。";
    }
    return {};  // every kind has its words above
}

std::string NoKitBallNote(std::size_t tubes) {
    return std::to_string(tubes) + " 根管子在球库中没有合适的球，见“说明”列。";
}

std::vector<std::string> SummaryNotes(const TableSummary& summary) {
    std::vector<std::string> notes;
    if (!summary.unknownFormats.empty()) {
        notes.push_back("数字格式" + QuotedList(summary.unknownFormats) +
                        "在此未知，按常规格式读取。");
    }
    if (!summary.renamedSheet.empty()) {
        notes.push_back("工作表名" + Quoted(summary.sheet) +
                        "在工作簿中不能用，结果的工作表名改为" + Quoted(summary.renamedSheet) +
                        "。");
    }
    return notes;
}

}  // namespace tongqiu::table
