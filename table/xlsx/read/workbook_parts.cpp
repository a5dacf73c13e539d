#include "xlsx/read/workbook_parts.h"

namespace tongqiu::table {

bool SharedStrings::Add(std::string_view text) {
    const std::size_t held = m_texts.size() + text.size() + (m_ends.size() + 1) * sizeof(m_ends[0]);
    if (held > kMaxSharedStrings) return false;
    m_texts.append(text);
    m_ends.push_back(static_cast<std::uint32_t>(m_texts.size()));
    return true;
}

std::string_view SharedStrings::operator[](std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_texts).substr(start, m_ends[index] - start);
}

void WorkbookHandler::Start(std::string_view name, const char** attributes) {
    if (name == "sheet") {
        sheets.emplace_back(Attribute(attributes, "name"), Attribute(attributes, "id"));
    } else if (name == "workbookPr") {
        const std::string_view date1904Text = Attribute(attributes, "date1904");
        date1904 = date1904Text == "1" || date1904Text == "true";
    }
}

void RelationsHandler::Start(std::string_view name, const char** attributes) {
    if (name != "Relationship") return;
    std::string_view target = Attribute(attributes, "Target");
    std::string part =
        target.starts_with('/') ? std::string(target.substr(1)) : "xl/" + std::string(target);
    const std::string_view type = Attribute(attributes, "Type");
    if (type.ends_with("/sharedStrings")) sharedStrings = part;
    if (type.ends_with("/styles")) styles = part;
    targets.emplace(Attribute(attributes, "Id"), std::move(part));
}

void StylesHandler::Start(std::string_view name, const char** attributes) {
    if (name == "numFmt") {
        const std::string_view code = Attribute(attributes, "formatCode");
        if (Characters(code) > kMaxFormatCharacters) {
            error = TableError{TableFault::FormatCodeTooLong};
        } else if (codes.size() == kMaxFormatCodes) {
            error = TableError{TableFault::TooManyFormats};
        } else {
            codes.insert_or_assign(Number(Attribute(attributes, "numFmtId"), 0), std::string(code));
        }
    } else if (name == "cellXfs") {
        m_inCellStyles = true;
    } else if (name == "xf" && m_inCellStyles) {
        if (styleFormats.size() == kMaxStyles) {
            error = TableError{TableFault::TooManyStyles};
            return;
        }
        styleFormats.push_back(Number(Attribute(attributes, "numFmtId"), 0));
    }
}

void StylesHandler::End(std::string_view name) {
    if (name == "cellXfs") m_inCellStyles = false;
}

void SharedStringsHandler::Start(std::string_view name, const char** /*attributes*/) {
    if (name == "si") m_text.m_text.Clear();
    m_text.Start(name);
}

void SharedStringsHandler::End(std::string_view name) {
    m_text.End(name);
    if (name == "si" && !m_strings.Add(m_text.m_text.Text())) {
        error = TableError{TableFault::SharedStringsTooLarge};
    }
}

void SharedStringsHandler::Text(std::string_view text) {
    if (!m_text.Take(text)) error = TableError{TableFault::SharedStringTooLong};
}

}  // namespace tongqiu::table
