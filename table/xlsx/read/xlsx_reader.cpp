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

Expected<WorkbookReader, TableError> WorkbookReader::Open(std::istream& in) {
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
    // Each format once, however many styles use it; the styles point at them.
    std::map<long, std::size_t> formatIndex;
    reader.m_formats = std::make_unique<std::vector<NumberFormat>>();
    for (const long id : styles.styleFormats) {
        if (!formatIndex.try_emplace(id, reader.m_formats->size()).second) continue;
        const auto code = styles.codes.find(id);
        reader.m_formats->push_back({static_cast<int>(std::clamp<long>(id, -1, 1L << 20)),
                                     code == styles.codes.end() ? "" : code->second});
    }
    for (const long id : styles.styleFormats) {
        reader.m_styleFormats.push_back(&(*reader.m_formats)[formatIndex[id]]);
    }
    SharedStringsHandler strings(reader.m_sharedStrings);
    if (reader.m_archive.Has(relations.sharedStrings)) {
        if (auto error = ParseXml(reader.m_archive, relations.sharedStrings, strings)) {
            return *error;
        }
    }
    return reader;
}

std::optional<TableError> WorkbookReader::ReadSheet(std::size_t sheet, const RowSink& sink) {
    const auto handler = SheetReader(sink, m_archive, m_sharedStrings, m_styleFormats, m_unknown);
    return ParseXml(m_archive, m_sheetParts.at(sheet), *handler);
}

std::optional<TableError> WorkbookReader::ReadSheetTop(
    std::size_t sheet, const std::function<bool(const TableRow&)>& enough) {
    XmlHandler* reading = nullptr;
    const RowSink sink = [&](const TableRow& row) {
        reading->enough = enough(row);
        return std::optional<TableError>();
    };
    const auto handler = SheetReader(sink, m_archive, m_sharedStrings, m_styleFormats, m_unknown);
    reading = handler.get();
    return ParseXml(m_archive, m_sheetParts.at(sheet), *handler);
}

}  // namespace tongqiu::table
