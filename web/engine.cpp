// The page's way into the calculation and the table conversion: it only translates between
// JavaScript values and the C++ functions, so that every decision is the one the window and
// tongqiu-batch make.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tongqiu/calculate.h"
#include "tongqiu/failure_message.h"
#include "tongqiu/table/ball_kit.h"
#include "tongqiu/table/record_check.h"
#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_messages.h"

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

// A file's bytes, from a Uint8Array.
table::BytesSource BytesOf(const val& file) {
    std::string bytes(file["length"].as<std::size_t>(), '\0');
    val(emscripten::typed_memory_view(bytes.size(), reinterpret_cast<unsigned char*>(bytes.data())))
        .call<void>("set", file);
    return table::BytesSource(std::move(bytes));
}

// What the conversion wrote into the module's file at `path`, which is then removed.
std::string TakeFile(const char* path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path, "rb")) {
        char piece[1 << 16];
        for (std::size_t read = 0; (read = std::fread(piece, 1, sizeof piece, file)) > 0;) {
            bytes.append(piece, read);
        }
        std::fclose(file);
    }
    std::remove(path);
    return bytes;
}

val Strings(const std::vector<std::string>& texts) {
    val array = val::array();
    for (const std::string& text : texts) array.call<void>("push", text);
    return array;
}

// The kit in `file` (a Uint8Array; none for null), or tongqiu-batch's words on why not, the kit
// called `name`.
Expected<std::optional<table::BallKit>, std::string> KitOf(const val& file,
                                                           const std::string& name = "球库") {
    if (file.isNull() || file.isUndefined()) return std::optional<table::BallKit>();
    table::BytesSource in = BytesOf(file);
    auto kit = table::BallKit::Read(in);
    if (!kit) return table::Located(kit.error(), name, name);
    return std::optional<table::BallKit>(std::move(*kit));
}

// { balls: [[球号, 直径, 备注], ...] }, or { error }.
val ReadKit(const val& file, const std::string& name) {
    val result = val::object();
    const auto kit = KitOf(file, name);
    if (!kit) {
        result.set("error", kit.error());
        return result;
    }
    val balls = val::array();
    for (const table::KitBall& ball : (*kit)->Balls()) {
        balls.call<void>("push", Strings({ball.number, ball.diameterText, ball.remark}));
    }
    result.set("balls", balls);
    return result;
}

// A filled 通球记录 checked, with the kit where there is one: { summary, problems, notes } as
// tongqiu-batch --check says them, or { notRecord: true } for a file that cannot be read as one
// (converting it says why).
val CheckRecordBytes(const val& file, const std::string& name, const val& kitFile) {
    table::BytesSource in = BytesOf(file);
    val result = val::object();
    const auto kit = KitOf(kitFile);
    if (!kit) {
        result.set("error", kit.error());
        return result;
    }
    const auto check = table::CheckRecord(in, *kit ? &**kit : nullptr);
    if (!check) {
        result.set("notRecord", true);
        return result;
    }
    std::vector<std::string> problems;
    for (const table::RecordProblem& problem : check->problems) {
        problems.push_back(table::ProblemLine(*check, problem));
    }
    result.set("summary", name + "：" + table::CheckSummary(*check));
    result.set("problems", Strings(problems));
    result.set("notes", Strings(check->notes));
    return result;
}

// The most tubes whose 通球记录 the page prints itself; a longer one prints from the workbook.
constexpr std::size_t kMaxPrintedTubes = 2000;

val Rows(const std::vector<std::vector<std::string>>& rows) {
    val array = val::array();
    for (const auto& row : rows) array.call<void>("push", Strings(row));
    return array;
}

// { title, source, above, headings, firstBall, balls, tubes, signatures } to print, or { refusal }
// for a table too long for it.
val Record(const table::PrintedRecord& record) {
    val printed = val::object();
    if (record.tooLong) {
        printed.set("refusal", "本表超过 " + std::to_string(kMaxPrintedTubes) +
                                   " 根管子，在浏览器中打印不便：请下载 Excel 表，"
                                   "打印其中的“通球记录”工作表。");
        return printed;
    }
    printed.set("title", record.title);
    printed.set("source", record.source);
    printed.set("above", Rows(record.above));
    printed.set("headings", Strings(record.headings));
    printed.set("firstBall", record.firstBall);
    printed.set("balls", record.balls);
    printed.set("tubes", Rows(record.tubes));
    printed.set("signatures", Strings(record.signatures));
    return printed;
}

const char* FormatName(table::TableFormat format) {
    return format == table::TableFormat::Xlsx ? "xlsx" : "csv";
}

// Converts the table in `file` (a Uint8Array) into `format` ("csv", "xlsx", or "" for the
// input's), each tube's ball from the kit in `kitFile` where it is not null; CSV is always written
// in UTF-8, which every browser can save and Excel opens. `progress` is called with the rows done
// so far. Returns { rows, failedRows, firstFailure, noKitBall, format, sheet, notes, record,
// output } with the output as a Uint8Array of its own, or
// { error } with tongqiu-batch's message. The module is built without exception handling, so
// memory running out aborts it; the worker says so.
val ConvertTableBytes(const val& file, const std::string& name, const std::string& format,
                      const val& progress, const val& kitFile) {
    table::BytesSource in = BytesOf(file);
    table::TableOptions options;
    val result = val::object();
    const auto kit = KitOf(kitFile);
    if (!kit) {
        result.set("error", kit.error());
        return result;
    }
    if (*kit) options.kit = &**kit;
    options.output = table::Encoding::Utf8;
    options.inputName = name;
    if (format.empty()) options.recordTubes = kMaxPrintedTubes;  // once, for the first output
    if (!format.empty()) options.outputFormat = table::FormatOfName("output." + format);
    options.progress = [&](std::size_t rows) { progress(rows); };
    // The writers work through files: the module's own, in memory.
    const char* const path = "/tongqiu-output";
    const auto summary = table::ConvertTable(in, path, options);
    const std::string output = TakeFile(path);
    if (!summary) {
        result.set("error", table::Located(summary.error(), name, name));
        return result;
    }
    result.set("rows", summary->rows);
    result.set("failedRows", summary->failedRows);
    if (summary->rowsWithoutKitBall > 0) {
        result.set("noKitBall", table::NoKitBallNote(summary->rowsWithoutKitBall));
    }
    if (summary->failedRows > 0) {
        result.set("firstFailure",
                   table::Located(name, summary->firstFailureLine, summary->firstFailure));
    }
    result.set("format", std::string(FormatName(options.outputFormat.value_or(summary->format))));
    result.set("sheet", summary->sheet);
    result.set("notes", Strings(table::SummaryNotes(*summary)));
    if (format.empty()) result.set("record", Record(summary->record));
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
    emscripten::function("readKit", &tongqiu::web::ReadKit);
    emscripten::function("checkRecord", &tongqiu::web::CheckRecordBytes);
}
