// The page's way into the calculation and the table conversion: it only translates between
// JavaScript values and the C++ functions, so that every decision is the one the window and
// tongqiu-batch make.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <sstream>
#include <streambuf>
#include <string>

#include "csv.h"
#include "table_conversion.h"
#include "tongqiu/calculate.h"
#include "tongqiu/failure_message.h"

namespace tongqiu::web {
namespace {

using emscripten::val;

// { fields: { Text1: "38", ... } } in, the same with every field's text after the calculation
// out, and on failure `message` and the input field it names (`field`, when there is one).
val CalculateFields(const val& texts) {
    FieldSet fields;
    for (const FieldName name : kAllFields) {
        fields.Set(name, texts[std::string(NameOf(name))].as<std::string>());
    }
    const auto failure = Calculate(fields);
    val result = val::object();
    val written = val::object();
    for (const FieldName name : kAllFields) {
        written.set(std::string(NameOf(name)), fields.Get(name));
    }
    result.set("fields", written);
    if (failure) {
        result.set("message", FailureMessage(*failure));
        if (failure->field) result.set("field", std::string(NameOf(*failure->field)));
    }
    return result;
}

// The file's bytes as a stream that can start again from its beginning, as a file can.
class BytesBuffer : public std::streambuf {
public:
    BytesBuffer(char* data, std::size_t size) { setg(data, data, data + size); }

protected:
    pos_type seekpos(pos_type position, std::ios_base::openmode /*which*/) override {
        if (position != pos_type(0)) return pos_type(off_type(-1));
        setg(eback(), eback(), egptr());
        return position;
    }
};

// A message as tongqiu-batch writes it: "FILE 第 N 行：…".
std::string Located(const std::string& name, long line, const std::string& message) {
    return table::Where(name, line) + "：" + message;
}

// Converts the table in `file` (a Uint8Array) and always writes UTF-8, which every browser can save
// and Excel opens. Returns { rows, failedRows, firstFailure, output } with the output as a
// Uint8Array of its own, or { error } with tongqiu-batch's message. The module is built without
// exception handling, so memory running out aborts it; the worker says so.
val ConvertTableBytes(const val& file, const std::string& name) {
    std::string bytes(file["length"].as<std::size_t>(), '\0');
    val(emscripten::typed_memory_view(bytes.size(), reinterpret_cast<unsigned char*>(bytes.data())))
        .call<void>("set", file);
    BytesBuffer buffer(bytes.data(), bytes.size());
    std::istream in(&buffer);
    std::ostringstream out;
    const auto summary =
        table::ConvertTable(in, out, {std::nullopt, table::Encoding::Utf8}, [&] { out.str(""); });
    val result = val::object();
    if (!summary) {
        result.set("error", Located(name, summary.error().line, summary.error().message));
        return result;
    }
    result.set("rows", summary->rows);
    result.set("failedRows", summary->failedRows);
    if (summary->failedRows > 0) {
        result.set("firstFailure", Located(name, summary->firstFailureLine, summary->firstFailure));
    }
    const std::string output = out.str();
    const auto* data = reinterpret_cast<const unsigned char*>(output.data());
    result.set(
        "output",
        val::global("Uint8Array").new_(val(emscripten::typed_memory_view(output.size(), data))));
    return result;
}

}  // namespace
}  // namespace tongqiu::web

EMSCRIPTEN_BINDINGS(tongqiu) {
    emscripten::function("calculate", &tongqiu::web::CalculateFields);
    emscripten::function("convertTable", &tongqiu::web::ConvertTableBytes);
}
