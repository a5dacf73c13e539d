#include "xlsx/read/xlsx_reader.h"

#include <algorithm>
#include <map>
#include <utility>

#include "xlsx/read/sheet_reader.h"
#include "xlsx/read/workbook_parts.h"
#include "xlsx/read/xml_parser.h"

namespace tongqiu::table {
namespace {

constexpr std::string_view kWorkbookPart = "xl/workbook.xml";
constexpr std::string_view kRelationsPart = "xl/_rels/workbook.xml.rels";

}  // namespace

Expected<WorkbookReader, TableError> WorkbookReader::Open(ByteSource& in) {
    auto archive = ZipArchive::Open(in);
    if (!archive) return archive.error();
    if (!archive->Has(kWorkbookPart)) {
        return TableError{TableFault::NotWorkbook};
    }
    WorkbookReader reader(std::move(*archive));
    WorkbookHandler workbook;
    RelationsHandler relations;
    if (auto error = ParseXml(reader.m_archive, kWorkbookPart, workbook)) return *error;
    if (auto error = ParseXml(reader.m_archive, kRelationsPart, relations)) return *error;
    for (auto& [name, relation] : workbook.sheets) {
        const auto target = relations.targets.find(relation);
        if (target == relations.targets.end() || !reader.m_archive.Has(target->second)) {
            return TableError{TableFault::SheetMissing, 0, name};
        }
        reader.m_sheetNames.push_back(std::move(name));
        reader.m_sheetParts.push_back(target->second);
    }

    StylesHandler styles;
    if (reader.m_archive.Has(relations.styles)) {
        if (auto error = ParseXml(reader.m_archive, relations.styles, styles)) return *error;
    }
    // Each format once, however many styles use it, its code read once; the styles point at
    // them. A code of the workbook's own wins over the built-in one of the same number.
    std::map<long, std::size_t> formatIndex;
    for (const long id : styles.styleFormats) formatIndex.try_emplace(id, formatIndex.size());
    reader.m_formats = std::make_unique<std::vector<ReadFormat>>(formatIndex.size());
    for (const auto& [id, index] : formatIndex) {
        const auto declared = styles.codes.find(id);
        const int number = static_cast<int>(std::clamp<long>(id, -1, 1L << 20));
        std::string code = declared != styles.codes.end() ? declared->second
                                                          : std::string(BuiltInFormatCode(number));
        auto& format = (*reader.m_formats)[index];
        if (!code.empty()) format.code = NumberFormatCode::Parse(code);
        format.format = {number, std::move(code)};
    }
    for (const long id : styles.styleFormats) {
        reader.m_sheetFormats.byStyle.push_back(&(*reader.m_formats)[formatIndex[id]]);
    }
    reader.m_sheetFormats.date1904 = workbook.date1904;
    SharedStringsHandler strings(reader.m_sharedStrings);
    if (reader.m_archive.Has(relations.sharedStrings)) {
        if (auto error = ParseXml(reader.m_archive, relations.sharedStrings, strings)) {
            return *error;
        }
    }
    return reader;
}

std::optional<TableError> WorkbookReader::ReadSheet(std::size_t sheet, const RowSink& sink) {
    const auto handler = SheetReader(sink, m_archive, m_sharedStrings, m_sheetFormats, m_unknown);
    return ParseXml(m_archive, m_sheetParts.at(sheet), *handler);
}

std::optional<TableError> WorkbookReader::ReadSheetTop(
    std::size_t sheet, const std::function<bool(const TableRow&)>& enough) {
    XmlHandler* reading = nullptr;
    const RowSink sink = [&](const TableRow& row) {
        reading->enough = enough(row);
        return std::optional<TableError>();
    };
    const auto handler = SheetReader(sink, m_archive, m_sharedStrings, m_sheetFormats, m_unknown);
    reading = handler.get();
    return ParseXml(m_archive, m_sheetParts.at(sheet), *handler);
}

}  // namespace tongqiu::table
