#pragma once

#include <optional>
#include <string_view>

#include "tongqiu/table/row.h"
#include "xlsx/read/zip_archive.h"

namespace tongqiu::table {

// No workbook part nests deeper than a dozen elements (a shared string's rich text: sst, si, r,
// t); the limit leaves room for extensions and stops a part that nests without end.
inline constexpr int kMaxXmlDepth = 32;

// What is told of an XML part as it is read: elements by their local names (without a
// namespace), and the text between them in pieces. Setting `error` stops the reading with it;
// setting `enough` stops it without one.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    XmlHandler() = default;
    XmlHandler(const XmlHandler&) = delete;
    XmlHandler& operator=(const XmlHandler&) = delete;

    virtual void Start(std::string_view name, const char** attributes) = 0;
    virtual void End(std::string_view name) = 0;
    virtual void Text(std::string_view /*text*/) {}

    std::optional<TableError> error;
    bool enough = false;
};

// An attribute's value by its local name, "" when the element has none.
std::string_view Attribute(const char** attributes, std::string_view name);

// Reads a part of `archive` with expat, streaming. Fails, naming the part, when it is not
// well-formed XML (with the line) or declares a DTD (which no workbook needs), or with the
// handler's own error.
std::optional<TableError> ParseXml(ZipArchive& archive, std::string_view part, XmlHandler& handler);

}  // namespace tongqiu::table
