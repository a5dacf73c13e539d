#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xlsx/read/cell_text.h"
#include "xlsx/read/xml_parser.h"

namespace tongqiu::table {

// The parts of a workbook read before its sheets: the workbook with its sheets, its
// relationships, the cell styles' number formats, and the shared strings.

// The most a workbook keeps of its shared strings, counting each one's text and its place. A
// tube list of a million rows, each with a remark of its own, needs a third of it.
inline constexpr std::size_t kMaxSharedStrings = std::size_t{32} << 20;

// The most characters of a number format code (as Excel takes); the most cell styles (Excel's
// limit is 64,000) and number formats of a workbook's own (Excel's are a few hundred).
inline constexpr std::size_t kMaxFormatCharacters = 255;
inline constexpr std::size_t kMaxStyles = 65'536;
inline constexpr std::size_t kMaxFormatCodes = 4'096;

// A workbook's shared strings, held once: their texts one after the other, and where each ends.
class SharedStrings {
public:
    // False when the strings would no longer fit in kMaxSharedStrings.
    bool Add(std::string_view text);
    [[nodiscard]] std::size_t Size() const { return m_ends.size(); }
    [[nodiscard]] std::string_view operator[](std::size_t index) const;

private:
    std::string m_texts;
    std::vector<std::uint32_t> m_ends;
};

// The sheets' names and relationships, in order, and the day its dates count from.
class WorkbookHandler : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override;
    void End(std::string_view /*name*/) override {}
    std::vector<std::pair<std::string, std::string>> sheets;  // name, relation
    bool date1904 = false;  // 1904-01-01 rather than 1899-12-30 (Excel for the Mac once)
};

// Where each relationship points, and the shared strings' and styles' parts.
class RelationsHandler : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override;
    void End(std::string_view /*name*/) override {}
    std::map<std::string, std::string, std::less<>> targets;
    std::string sharedStrings = "xl/sharedStrings.xml";
    std::string styles = "xl/styles.xml";
};

// Each style's number format by its number, and the codes of the workbook's own formats.
class StylesHandler : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override;
    void End(std::string_view name) override;
    std::map<long, std::string> codes;
    std::vector<long> styleFormats;

private:
    bool m_inCellStyles = false;
};

// The shared strings, into `strings`.
class SharedStringsHandler : public XmlHandler {
public:
    explicit SharedStringsHandler(SharedStrings& strings) : m_strings(strings) {}
    void Start(std::string_view name, const char** attributes) override;
    void End(std::string_view name) override;
    void Text(std::string_view text) override;

private:
    SharedStrings& m_strings;
    RichText m_text;
};

}  // namespace tongqiu::table
