#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xlsx/cell_text.h"
#include "xlsx/xml_parser.h"

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

// The sheets' names and relationships, in order.
class WorkbookHandler : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override {
        if (name == "sheet") {
            sheets.emplace_back(Attribute(attributes, "name"), Attribute(attributes, "id"));
        }
    }
    void End(std::string_view /*name*/) override {}
    std::vector<std::pair<std::string, std::string>> sheets;  // name, relation
};

// Where each relationship points, and the shared strings' and styles' parts.
class RelationsHandler : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override {
        if (name != "Relationship") return;
        std::string_view target = Attribute(attributes, "Target");
        std::string part =
            target.starts_with('/') ? std::string(target.substr(1)) : "xl/" + std::string(target);
        const std::string_view type = Attribute(attributes, "Type");
        if (type.ends_with("/sharedStrings")) sharedStrings = part;
        if (type.ends_with("/styles")) styles = part;
        targets.emplace(Attribute(attributes, "Id"), std::move(part));
    }
    void End(std::string_view /*name*/) override {}
    std::map<std::string, std::string, std::less<>> targets;
    std::string sharedStrings = "xl/sharedStrings.xml";
    std::string styles = "xl/styles.xml";
};

// Each style's number format by its number, and the codes of the workbook's own formats.
class StylesHandler : public XmlHandler {
public:
    void Start(std::string_view name, const char** attributes) override {
        if (name == "numFmt") {
            const std::string_view code = Attribute(attributes, "formatCode");
            if (Characters(code) > kMaxFormatCharacters) {
                error = InputError{0, "数字格式代码超过 255 个字符（电子表格的上限）。"};
            } else if (codes.size() == kMaxFormatCodes) {
                error = InputError{0, "数字格式超过 4096 个，工作簿中不应有这么多。"};
            } else {
                codes.insert_or_assign(Number(Attribute(attributes, "numFmtId"), 0),
                                       std::string(code));
            }
        } else if (name == "cellXfs") {
            m_inCellStyles = true;
        } else if (name == "xf" && m_inCellStyles) {
            if (styleFormats.size() == kMaxStyles) {
                error = InputError{0, "单元格样式超过 65536 个（电子表格的上限）。"};
                return;
            }
            styleFormats.push_back(Number(Attribute(attributes, "numFmtId"), 0));
        }
    }
    void End(std::string_view name) override {
        if (name == "cellXfs") m_inCellStyles = false;
    }
    std::map<long, std::string> codes;
    std::vector<long> styleFormats;

private:
    bool m_inCellStyles = false;
};

// The shared strings, into `strings`.
class SharedStringsHandler : public XmlHandler {
public:
    explicit SharedStringsHandler(SharedStrings& strings) : m_strings(strings) {}
    void Start(std::string_view name, const char** /*attributes*/) override {
        if (name == "si") m_text.m_text.Clear();
        m_text.Start(name);
    }
    void End(std::string_view name) override {
        m_text.End(name);
        if (name == "si" && !m_strings.Add(m_text.m_text.Text())) {
            error = InputError{0, "共享字符串超过 32 MB，超出读取的上限。"};
        }
    }
    void Text(std::string_view text) override {
        if (!m_text.Take(text))
            error = InputError{0, "共享字符串的文本超过 32767 个字符（电子表格单元格的上限）。"};
    }

private:
    SharedStrings& m_strings;
    RichText m_text;
};

}  // namespace tongqiu::table
