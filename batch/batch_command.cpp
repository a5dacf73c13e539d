#include "batch_command.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <istream>
#include <new>
#include <optional>
#include <ostream>
#include <random>

#include "tongqiu/result_columns.h"
#include "tongqiu/table/table_conversion.h"
#include "tongqiu/table/table_messages.h"

namespace tongqiu::batch {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUsage =
    "用法：tongqiu-batch [-o 输出文件] [--sheet 工作表] [输入文件]\n"
    "\n"
    "为 CSV 表格或 Excel 工作簿（.xlsx）中的每一根管子计算通球直径，结果与“通球计算”窗口\n"
    "显示的相同。输入文件为“-”或省略时读标准输入；没有 -o 时写到标准输出。\n"
    "表头须有“外径”（或 Dw）、“壁厚”（或 t）、“弯曲半径”（或 R）三列，位置不限，\n"
    "可带单位，如“外径(mm)”；表头是前 20 行中第一个有这三列的行，其上的行原样保留。\n"
    "外径和壁厚也可合写在“规格”列中，如“Φ38×4”。其他列原样保留。\n"
    "输出为原表的每一行，后接 {COLUMNS} 十二列。\n"
    "有“类型”列（有拼接焊缝无弯头、有弯头无拼接焊缝或有弯头有拼接焊缝）时，\n"
    "说明之前再加一列“选用通球”：该类型的通球直径。\n"
    "CSV 可为 UTF-8 或 GB18030（GBK）编码，输出用与输入相同的编码。工作簿中的数字按单元格\n"
    "显示的样子读取；计算第一个有表头的工作表。输出的格式按 -o 的扩展名（.csv 或 .xlsx），\n"
    "否则与输入相同。写成工作簿时另有“通球记录”工作表，供试验台填写和存档；两个工作表\n"
    "都按 A4 横向、一页宽、每页重复表头设置好打印。\n"
    "\n"
    "  -o 文件         写到此文件：先写临时文件，全部完成后再改名\n"
    "  --sheet 工作表  计算工作簿中这个名字的工作表\n"
    "  --help          显示此说明\n"
    "  --version       显示版本\n"
    "\n"
    "退出码：0 每行都已计算；1 有行无法计算（原因见“说明”列）；\n"
    "        2 无法读取输入、缺少列或选项有误，此时不写出任何内容。\n";

// The usage, its list of result columns from the one list of them, folded as the text around it.
std::string Usage() {
    std::string columns;
    for (const ResultColumn& column : kResultColumns) {
        columns.append(column.heading).append("、");
        if (column.field == FieldName::Text14) columns.append("\n");
    }
    columns.append(kExplanationHeading);
    std::string usage(kUsage);
    constexpr std::string_view kPlace = "{COLUMNS}";
    return usage.replace(usage.find(kPlace), kPlace.size(), columns);
}

struct Options {
    std::string input = "-";
    std::string output = "-";
    std::string sheet;
};

// The options, or a message saying what is wrong with them; "" for --help and --version, whose
// text is already written.
std::optional<Options> Parse(const std::vector<std::string>& args, std::ostream& out,
                             std::string& problem) {
    Options options;
    bool haveInput = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "--version") {
            out << (arg == "--help" ? Usage() : "tongqiu-batch " TONGQIU_VERSION "\n");
            return std::nullopt;
        }
        if ((arg == "-o" || arg == "--sheet") && i + 1 < args.size()) {
            (arg == "-o" ? options.output : options.sheet) = args[++i];
        } else if (arg == "-o") {
            problem = "-o 后面缺少输出文件名。";
        } else if (arg == "--sheet") {
            problem = "--sheet 后面缺少工作表名。";
        } else if (arg.size() > 1 && arg[0] == '-') {
            problem = "未知选项“" + arg + "”。";
        } else if (haveInput) {
            problem = "只能给一个输入文件。";
        } else {
            options.input = arg;
            haveInput = true;
        }
        if (!problem.empty()) return std::nullopt;
    }
    return options;
}

// A path from the user's UTF-8 text, on every system.
fs::path Utf8Path(const std::string& text) { return {std::u8string(text.begin(), text.end())}; }

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

// A file name nobody else uses, in `folder`.
fs::path UnusedName(const fs::path& folder, const fs::path& beside) {
    std::random_device random;
    const auto number = (std::uint64_t{random()} << 32U) | random();
    fs::path name(".");  // hidden where a leading dot makes it so
    name += beside.filename();
    name += ".";
    name += std::to_string(number);
    name += ".tmp";
    return folder / name;
}

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
int Convert(const Options& options, std::istream& in, const std::string& name,
            std::ostream& standardOutput, std::ostream& err, const Terminals& terminals) {
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
    if (terminals.error) {
        progress.emplace(err, name, terminals.progressAfter);
        tableOptions.progress = [&](std::size_t rows) { progress->Show(rows); };
    }
    std::size_t failedRows = 0;
    try {
        const auto summary = table::ConvertTable(in, temporary, tableOptions);
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
        if (toFile) {
            fs::rename(temporary, target);
        } else {
            standardOutput << std::ifstream(temporary, std::ios::binary).rdbuf();
            fs::remove(temporary);
        }
    } catch (const std::bad_alloc&) {
        return fail(table::Located(name, 0, "内存不足，无法完成。"));
    } catch (const fs::filesystem_error&) {
        return fail(table::Located(outputName, 0, "无法写入。"));
    } catch (const std::exception&) {
        // Nothing else is thrown on purpose; whatever it was, its words are not the user's.
        return fail(table::Located(name, 0, "处理时出错，无法完成。"));
    }
    if (failedRows == 0) return kAllComputed;
    err << name << "：" << failedRows << " 行无法计算，原因见“说明”列。\n";
    return kSomeRowsFailed;
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
    return Convert(*options, file.is_open() ? file : standardInput, name, standardOutput, err,
                   terminals);
}

}  // namespace tongqiu::batch
