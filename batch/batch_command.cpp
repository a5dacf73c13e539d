#include "batch_command.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <istream>
#include <optional>
#include <ostream>

#include "batch_files.h"
#include "batch_options.h"
#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_messages.h"

namespace tongqiu::batch {
namespace {

// The rows done, on one line of a terminal that each call writes over, once the table has taken
// longer than `after`; cleared at the end.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, std::string_view name, std::chrono::milliseconds after)
        : m_err(err), m_name(name), m_shownFrom(std::chrono::steady_clock::now() + after) {}
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
    ~ProgressLine() {
        // Spaces over it, as many as its bytes: no fewer than the columns it takes.
        if (m_width > 0) m_err << '\r' << std::string(m_width, ' ') << '\r' << std::flush;
    }

    void Show(std::size_t rows) {
        if (std::chrono::steady_clock::now() < m_shownFrom) return;
        std::string line = m_name + "：正在计算……已算 " + std::to_string(rows) + " 行";
        m_width = std::max(m_width, line.size());
        m_err << '\r' << line << std::flush;
    }

private:
    std::ostream& m_err;
    std::string m_name;
    std::chrono::steady_clock::time_point m_shownFrom;
    std::size_t m_width = 0;
};

// What the conversion is told: the output's format by its name, the sheet, the input's name for
// a workbook's 通球记录.
table::TableOptions TableOptionsFor(const Options& options, const std::string& name) {
    table::TableOptions tableOptions;
    if (options.output != "-") tableOptions.outputFormat = table::FormatOfName(options.output);
    tableOptions.sheet = options.sheet;
    if (options.input != "-") {
        const std::u8string file = Utf8Path(options.input).filename().u8string();
        tableOptions.inputName.assign(file.begin(), file.end());
    } else {
        tableOptions.inputName = name;
    }
    return tableOptions;
}

// Converts `in` (named `name` in messages) into the output that the options name.
int Convert(const Options& options, const table::BallKit* kit, std::istream& in,
            const std::string& name, std::ostream& standardOutput, std::ostream& err,
            const Terminals& terminals) {
    // Written in full to a temporary file first, so that a failed run leaves nothing behind.
    const bool toFile = options.output != "-";
    const fs::path target = Utf8Path(options.output);
    const fs::path temporary = toFile ? UnusedName(target.parent_path(), target)
                                      : UnusedName(fs::temp_directory_path(), "tongqiu-batch");
    const std::string outputName = toFile ? options.output : "标准输出";
    std::optional<ProgressLine> progress;
    const auto fail = [&](const std::string& message) {
        progress.reset();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        err << message << "\n";
        return kNothingWritten;
    };
    table::TableOptions tableOptions = TableOptionsFor(options, name);
    tableOptions.kit = kit;
    tableOptions.maxOver = options.maxOver;
    if (terminals.error) {
        progress.emplace(err, name, terminals.progressAfter);
        tableOptions.progress = [&](std::size_t rows) { progress->Show(rows); };
    }
    std::size_t failedRows = 0;
    std::size_t withoutKitBall = 0;
    try {
        table::StreamSource source(in);
        const auto summary = table::ConvertTable(source, temporary, tableOptions);
        progress.reset();  // before anything else is said
        if (!summary) return fail(table::Located(summary.error(), name, outputName));
        for (const std::string& note : table::SummaryNotes(*summary)) {
            err << table::Located(name, 0, note) << "\n";
        }
        const auto written = tableOptions.outputFormat.value_or(summary->format);
        if (!toFile && written == table::TableFormat::Xlsx && terminals.output) {
            return fail(table::Located(
                outputName, 0, "工作簿不能写到终端：请用 -o 文件名.xlsx，或重定向到文件。"));
        }
        failedRows = summary->failedRows;
        withoutKitBall = summary->rowsWithoutKitBall;
        if (toFile) {
            fs::rename(temporary, target);
        } else {
            standardOutput << std::ifstream(temporary, std::ios::binary).rdbuf();
            standardOutput.flush();
            // A full disk or a closed pipe: said, not taken for rows that failed.
            if (!standardOutput) return fail(table::Located(outputName, 0, "无法写入。"));
            fs::remove(temporary);
        }
    } catch (const std::exception&) {
        return fail(ThrownMessage(name, outputName));
    }
    if (failedRows > 0) err << name << "：" << failedRows << " 行无法计算，原因见“说明”列。\n";
    if (withoutKitBall > 0) {
        err << table::Located(name, 0, table::NoKitBallNote(withoutKitBall)) << "\n";
    }
    return failedRows + withoutKitBall == 0 ? kAllComputed : kSomeRowsFailed;
}

}  // namespace

int RunBatch(const std::vector<std::string>& args, std::istream& standardInput,
             std::ostream& standardOutput, std::ostream& err, const Terminals& terminals) {
    std::string problem;
    const std::optional<Options> options = Parse(args, standardOutput, problem);
    if (!options) {
        if (problem.empty()) return kAllComputed;
        err << "tongqiu-batch：" << problem << "用法见 tongqiu-batch --help。\n";
        return kNothingWritten;
    }
    const std::string name = options->input == "-" ? "标准输入" : options->input;
    std::ifstream file;
    if (options->input != "-") {
        file.open(Utf8Path(options->input), std::ios::binary);
        if (!file) {
            err << name << "：无法打开。\n";
            return kNothingWritten;
        }
    }
    std::error_code ignored;
    if (options->output != "-" &&
        fs::equivalent(Utf8Path(options->input), Utf8Path(options->output), ignored)) {
        err << options->output << "：输出文件不能是输入文件。\n";
        return kNothingWritten;
    }
    std::optional<table::BallKit> kit;
    if (!options->balls.empty()) {
        std::ifstream kitFile(Utf8Path(options->balls), std::ios::binary);
        if (!kitFile) {
            err << options->balls << "：无法打开。\n";
            return kNothingWritten;
        }
        table::StreamSource source(kitFile);
        auto read = table::BallKit::Read(source);
        if (!read) {
            err << table::Located(read.error(), options->balls, options->balls) << "\n";
            return kNothingWritten;
        }
        kit = std::move(*read);
    }
    std::istream& in = file.is_open() ? file : standardInput;
    const table::BallKit* balls = kit ? &*kit : nullptr;
    if (options->check) return CheckRecord(in, name, options->output, balls, standardOutput, err);
    return Convert(*options, balls, in, name, standardOutput, err, terminals);
}

}  // namespace tongqiu::batch
