// The page's way into the calculation and the table conversion: it only translates between the
// worker's texts and bytes and the C++ functions, so that every decision is the one the window
// and tongqiu-batch make. Each call answers in JSON; a file's bytes are copied by the worker into
// room the engine keeps for them.
#include <emscripten.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "json_text.h"
#include "tongqiu/calculate.h"
#include "tongqiu/failure_message.h"
#include "tongqiu/table/ball_kit.h"
#include "tongqiu/table/record_check.h"
#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_messages.h"

namespace tongqiu::web {
namespace {

// Told to the worker as a table's rows are done.
EM_JS(void, ReportProgress, (double rows), {
    if (Module['onProgress']) Module['onProgress'](rows);  // a name the worker sets
});

// The files handed in: the table (or filled record) and the kit.
enum Room { kTable, kKit };
std::array<std::string, 2> g_rooms;
// The last answer, and the last table written, kept until the next call.
std::string g_answer;
std::string g_output;

const char* Answer(std::string json) {
    g_answer = std::move(json);
    return g_answer.c_str();
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

// The kit handed in (none without `withKit`), or tongqiu-batch's words on why not, the kit
// called `name`.
Expected<std::optional<table::BallKit>, std::string> HandedKit(bool withKit,
                                                               const std::string& name = "球库") {
    if (!withKit) return std::optional<table::BallKit>();
    table::BytesSource in(g_rooms[kKit]);
    auto kit = table::BallKit::Read(in);
    if (!kit) return table::Located(kit.error(), name, name);
    return std::optional<table::BallKit>(std::move(*kit));
}

// The most tubes whose 通球记录 the page prints itself; a longer one prints from the workbook.
constexpr std::size_t kMaxPrintedTubes = 2000;

// { title, source, above, headings, firstBall, balls, tubes, signatures } to print, or { refusal }
// for a table too long for it.
std::string Record(const table::PrintedRecord& record) {
    JsonObject printed;
    if (record.tooLong) {
        return printed
            .Text("refusal", "本表超过 " + std::to_string(kMaxPrintedTubes) +
                                 " 根管子，在浏览器中打印不便：请下载 Excel 表，"
                                 "打印其中的“通球记录”工作表。")
            .Done();
    }
    return printed.Text("title", record.title)
        .Text("source", record.source)
        .Add("above", Rows(record.above))
        .Add("headings", Strings(record.headings))
        .Number("firstBall", record.firstBall)
        .Number("balls", record.balls)
        .Add("tubes", Rows(record.tubes))
        .Add("signatures", Strings(record.signatures))
        .Done();
}

}  // namespace
}  // namespace tongqiu::web

using namespace tongqiu;
using web::g_rooms;
using web::JsonObject;

extern "C" {

// Room for `size` bytes of a file (0: the table, 1: the kit), which the worker copies in.
EMSCRIPTEN_KEEPALIVE char* tongqiu_room(int room, std::size_t size) {
    std::string& bytes = g_rooms[room == web::kKit ? web::kKit : web::kTable];
    bytes.assign(size, '\0');
    return bytes.data();
}

// The output of the last table converted, outputSize bytes long.
EMSCRIPTEN_KEEPALIVE const char* tongqiu_output() { return web::g_output.data(); }

// `count` pairs of a field's name and its text ("Text1", "38", ...) in; { fields } with every
// field's text after the calculation out, and on failure `message` and the input field it names
// (`field`, when there is one).
EMSCRIPTEN_KEEPALIVE const char* tongqiu_calculate(const char* const* namesAndTexts, int count) {
    FieldSet fields;
    for (int i = 0; i < count; ++i) {
        for (const FieldName name : kAllFields) {
            if (NameOf(name) == namesAndTexts[2 * i]) fields.Set(name, namesAndTexts[2 * i + 1]);
        }
    }
    const auto failure = Calculate(fields);
    JsonObject written;
    for (const FieldName name : kAllFields) written.Text(NameOf(name), fields.Get(name));
    JsonObject result;
    result.Add("fields", written.Done());
    if (failure) {
        result.Text("message", FailureMessage(*failure));
        if (failure->field) result.Text("field", NameOf(*failure->field));
    }
    return web::Answer(result.Done());
}

// The kit handed in, called `name`: { balls: [[球号, 直径, 备注], ...] }, or { error }.
EMSCRIPTEN_KEEPALIVE const char* tongqiu_read_kit(const char* name) {
    const auto kit = web::HandedKit(true, name);
    if (!kit) return web::Answer(JsonObject().Text("error", kit.error()).Done());
    std::vector<std::vector<std::string>> balls;
    for (const table::KitBall& ball : (*kit)->Balls()) {
        balls.push_back({ball.number, ball.diameterText, ball.remark});
    }
    return web::Answer(JsonObject().Add("balls", web::Rows(balls)).Done());
}

// The table handed in checked as a filled 通球记录 called `name`, with the kit where there is
// one: { summary, problems, notes } as tongqiu-batch --check says them, or { notRecord: true } for
// a file that cannot be read as one (converting it says why).
EMSCRIPTEN_KEEPALIVE const char* tongqiu_check_record(const char* name, int withKit) {
    const auto kit = web::HandedKit(withKit != 0);
    if (!kit) return web::Answer(JsonObject().Text("error", kit.error()).Done());
    table::BytesSource in(g_rooms[web::kTable]);  // kept, to be converted should it be no record
    const auto check = table::CheckRecord(in, *kit ? &**kit : nullptr);
    if (!check) return web::Answer(JsonObject().Add("notRecord", "true").Done());
    std::vector<std::string> problems;
    for (const table::RecordProblem& problem : check->problems) {
        problems.push_back(table::ProblemLine(*check, problem));
    }
    return web::Answer(JsonObject()
                           .Text("summary", std::string(name) + "：" + table::CheckSummary(*check))
                           .Add("problems", web::Strings(problems))
                           .Add("notes", web::Strings(check->notes))
                           .Done());
}

// Converts the table handed in, called `name`, into `format` ("csv", "xlsx", or "" for the
// input's), each tube's ball from the kit where there is one; CSV is always written in UTF-8,
// which every browser can save and Excel opens. Answers { rows, failedRows, firstFailure,
// noKitBall, format, sheet, notes, record, outputSize }, the output at tongqiu_output(), or
// { error } with tongqiu-batch's message. The module is built without exception handling, so
// memory running out aborts it; the worker says so.
EMSCRIPTEN_KEEPALIVE const char* tongqiu_convert_table(const char* name, const char* format,
                                                       int withKit) {
    web::g_output.clear();
    web::g_output.shrink_to_fit();
    const auto kit = web::HandedKit(withKit != 0);
    if (!kit) return web::Answer(JsonObject().Text("error", kit.error()).Done());
    table::TableOptions options;
    if (*kit) options.kit = &**kit;
    options.output = table::Encoding::Utf8;
    options.inputName = name;
    const std::string asked = format;
    if (asked.empty()) options.recordTubes = web::kMaxPrintedTubes;  // once, for the first output
    if (!asked.empty()) options.outputFormat = table::FormatOfName("output." + asked);
    options.progress = [](std::size_t rows) { web::ReportProgress(static_cast<double>(rows)); };
    table::BytesSource in(std::move(g_rooms[web::kTable]));
    // The writers work through files: the module's own, in memory.
    const char* const path = "/tongqiu-output";
    const auto summary = table::ConvertTable(in, path, options);
    web::g_output = web::TakeFile(path);
    if (!summary) {
        web::g_output.clear();
        return web::Answer(
            JsonObject().Text("error", table::Located(summary.error(), name, name)).Done());
    }
    JsonObject result;
    result.Number("rows", summary->rows).Number("failedRows", summary->failedRows);
    if (summary->rowsWithoutKitBall > 0) {
        result.Text("noKitBall", table::NoKitBallNote(summary->rowsWithoutKitBall));
    }
    if (summary->failedRows > 0) {
        result.Text("firstFailure",
                    table::Located(name, summary->firstFailureLine, summary->firstFailure));
    }
    const auto written = options.outputFormat.value_or(summary->format);
    result.Text("format", written == table::TableFormat::Xlsx ? "xlsx" : "csv")
        .Text("sheet", summary->sheet)
        .Add("notes", web::Strings(table::SummaryNotes(*summary)));
    if (asked.empty()) result.Add("record", web::Record(summary->record));
    return web::Answer(result.Number("outputSize", web::g_output.size()).Done());
}

}  // extern "C"
