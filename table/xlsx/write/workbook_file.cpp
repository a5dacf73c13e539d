#include "xlsx/write/workbook_file.h"

#include <xlsxwriter.h>

namespace tongqiu::table {
namespace {

// libxlsxwriter takes file names in UTF-8, on Windows too.
std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// Why a workbook could not be written, in the user's words; the library's own, in English, only
// for what should not happen.
std::string WhyNotWritten(int error) {
    switch (error) {
        case LXW_ERROR_CREATING_XLSX_FILE:
            return "无法创建该文件，请确认文件夹存在且可以写入";
        case LXW_ERROR_CREATING_TMPFILE:
            return "无法在输出文件的文件夹中创建临时文件，请确认文件夹可以写入";
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            return "内存不足";
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            return "写入文件时出错，磁盘可能已满";
        default: {
            std::string said = lxw_strerror(static_cast<lxw_error>(error));
            if (said.ends_with('.')) said.pop_back();  // the message ends in "。"
            return said;
        }
    }
}

}  // namespace

TableError WorkbookWriteFailed(long line, int error) {
    if (error == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE) {
        return TableError{TableFault::OutputSheetFull, line};
    }
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED) {
        return TableError{TableFault::OutputCellTooLong, line};
    }
    return TableError{TableFault::OutputWorkbookFailed, line, WhyNotWritten(error)};
}

WorkbookFile::WorkbookFile(const std::filesystem::path& path) {
    // Its temporary files go beside the output, where writing is allowed (Windows would put them
    // at the root of the system drive).
    std::string folder = path.parent_path().empty() ? "." : Utf8(path.parent_path());
    lxw_workbook_options options{LXW_TRUE, folder.data(), LXW_FALSE};
    m_workbook = workbook_new_opt(Utf8(path).c_str(), &options);
}

WorkbookFile::~WorkbookFile() { (void)Close(); }

lxw_worksheet* WorkbookFile::AddSheet(const std::string& name) {
    if (m_workbook == nullptr) return nullptr;
    // Asked first, so that libxlsxwriter has no warning of its own to print.
    const bool allowed = workbook_validate_sheet_name(m_workbook, name.c_str()) == LXW_NO_ERROR;
    return workbook_add_worksheet(m_workbook, allowed ? name.c_str() : nullptr);
}

lxw_format* WorkbookFile::Style(const std::function<void(lxw_format*)>& setUp) {
    lxw_format* style = workbook_add_format(m_workbook);
    setUp(style);
    return style;
}

// Headings wrap rather than being cut where a column is narrower than they are.
lxw_format* WorkbookFile::HeadingStyle() {
    if (m_heading == nullptr) {
        m_heading = Style([](lxw_format* style) {
            format_set_bold(style);
            format_set_text_wrap(style);
            format_set_align(style, LXW_ALIGN_VERTICAL_CENTER);
        });
    }
    return m_heading;
}

lxw_format* WorkbookFile::NumberStyle(const std::string& code) {
    if (code.empty() || code == "General" || code == "G/通用格式") return nullptr;
    auto [found, added] = m_numberStyles.try_emplace(code, nullptr);
    if (added) {
        found->second =
            Style([&](lxw_format* style) { format_set_num_format(style, code.c_str()); });
    }
    return found->second;
}

lxw_format* WorkbookFile::StyleOf(const NumberFormat* format) {
    auto [found, added] = m_styleOf.try_emplace(format, nullptr);
    if (added) found->second = NumberStyle(format->code);
    return found->second;
}

lxw_format* WorkbookFile::PlacesStyle(int places) {
    auto& style = m_placesStyles.at(static_cast<std::size_t>(places));
    if (style == nullptr && places > 0) style = NumberStyle("0." + std::string(places, '0'));
    return style;
}

std::optional<TableError> WorkbookFile::Close() {
    if (m_workbook == nullptr) return std::nullopt;
    const lxw_error error = workbook_close(m_workbook);
    m_workbook = nullptr;
    if (error != LXW_NO_ERROR) return WorkbookWriteFailed(0, error);
    return std::nullopt;
}

}  // namespace tongqiu::table
