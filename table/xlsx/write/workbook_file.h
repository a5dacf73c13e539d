#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>

#include "tongqiu/table/row.h"
#include "tongqiu/table/table_error.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace tongqiu::table {

// Why libxlsxwriter could not write (its error code), at a row as read.
TableError WorkbookWriteFailed(long line, int error);

// A workbook written with libxlsxwriter row by row (its constant-memory mode: memory does not
// grow with the rows), and the styles its sheets share.
class WorkbookFile {
public:
    explicit WorkbookFile(const std::filesystem::path& path);
    ~WorkbookFile();  // closes the workbook, if not closed
    WorkbookFile(const WorkbookFile&) = delete;
    WorkbookFile& operator=(const WorkbookFile&) = delete;

    [[nodiscard]] bool Opened() const { return m_workbook != nullptr; }

    // A sheet named `name`, or one named as libxlsxwriter names it where `name` is refused;
    // nullptr where none can be added.
    lxw_worksheet* AddSheet(const std::string& name);

    // A style set up by `setUp`.
    lxw_format* Style(const std::function<void(lxw_format*)>& setUp);
    // The headings' style, bold and wrapping; made once.
    lxw_format* HeadingStyle();

    // The style of a number format by its code, one for each; nullptr for General. The workbook
    // declares every code its cells use.
    lxw_format* NumberStyle(const std::string& code);
    // The style of a workbook's number format as read, looked up once.
    lxw_format* StyleOf(const NumberFormat* format);
    // The style that shows a decimal with `places` places (a CSV's "3.50": 0.00).
    lxw_format* PlacesStyle(int places);

    // Writes the workbook out, once.
    std::optional<TableError> Close();

private:
    lxw_workbook* m_workbook = nullptr;
    lxw_format* m_heading = nullptr;
    std::map<std::string, lxw_format*> m_numberStyles;
    std::unordered_map<const NumberFormat*, lxw_format*> m_styleOf;
    std::array<lxw_format*, 16> m_placesStyles{};  // a plain decimal has at most 15 digits
};

}  // namespace tongqiu::table
