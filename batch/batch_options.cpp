#include "batch_options.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string_view>

#include "tongqiu/number_text.h"
#include "tongqiu/result_columns.h"

namespace tongqiu::batch {
namespace {

constexpr std::string_view kUsage =
    "用法：tongqiu-batch [-o 输出文件] [--sheet 工作表] [--balls 球库 [--max-over 毫米]] "
    "[输入文件]\n"
    "      tongqiu-batch --check 记录.xlsx [--balls 球库] [-o 检查结果]\n"
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
    "给出球库（CSV 或工作簿，含“球号”“直径”两列，可有“备注”）时，每个通球后加“球号”\n"
    "“球径”两列：球库中直径不小于该通球、小于内径的最小的球；通球记录中的球号也已填好。\n"
    "--check 核对试验台填好的通球记录：每根管子是否有结果、球号、检验员和日期，所用的球\n"
    "是否够大（按记录中的尺寸重算）、能否通过，签字是否齐全；先总计，再逐条列出问题。\n"
    "\n"
    "  -o 文件         写到此文件：先写临时文件，全部完成后再改名\n"
    "  --sheet 工作表  计算工作簿中这个名字的工作表\n"
    "  --balls 球库    从试验台的球库中为每根管子选球\n"
    "  --max-over 毫米 所选的球最多比所需通球大这么多\n"
    "  --check 记录    核对填好的通球记录；-o 另把问题写成表格\n"
    "  --help          显示此说明\n"
    "  --version       显示版本\n"
    "\n"
    "退出码：0 每行都已计算；1 有行无法计算或球库中没有合适的球（原因见“说明”列）；\n"
    "        2 无法读取输入或球库、缺少列或选项有误，此时不写出任何内容。\n"
    "核对时：0 每根管子都有一致的合格或不合格结果，没有缺项；1 发现问题；\n"
    "        2 文件不能作为通球记录读取。\n";

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

// The options that take a value, and what is said when it is missing.
struct ValueOption {
    std::string_view name;
    std::string_view missing;
};
constexpr std::array<ValueOption, 5> kValueOptions{{
    {"-o", "-o 后面缺少输出文件名。"},
    {"--sheet", "--sheet 后面缺少工作表名。"},
    {"--balls", "--balls 后面缺少球库文件名。"},
    {"--max-over", "--max-over 后面缺少毫米数。"},
    {"--check", "--check 后面缺少通球记录文件名。"},
}};

// Takes an option's value; what is wrong with it, or "".
std::string TakeValue(Options& options, std::string_view name, const std::string& value) {
    if (name == "-o") options.output = value;
    if (name == "--sheet") options.sheet = value;
    if (name == "--balls") options.balls = value;
    if (name == "--check") options.check = true, options.input = value;
    if (name == "--max-over") {
        const auto millimetres = FieldValue(value);
        if (!millimetres || !(*millimetres >= 0)) return "--max-over 后面应为不小于 0 的毫米数。";
        options.maxOver = *millimetres;
    }
    return {};
}

}  // namespace

std::optional<Options> Parse(const std::vector<std::string>& args, std::ostream& out,
                             std::string& problem) {
    Options options;
    bool haveInput = false;
    for (std::size_t i = 0; i < args.size() && problem.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "--version") {
            out << (arg == "--help" ? Usage() : "tongqiu-batch " TONGQIU_VERSION "\n");
            return std::nullopt;
        }
        const auto valued =
            std::find_if(kValueOptions.begin(), kValueOptions.end(),
                         [&](const ValueOption& option) { return option.name == arg; });
        if (valued != kValueOptions.end()) {
            problem = i + 1 < args.size() ? TakeValue(options, arg, args[++i])
                                          : std::string(valued->missing);
            if (arg == "--check" && haveInput) problem = "只能给一个输入文件。";
            haveInput = haveInput || arg == "--check";
        } else if (arg.size() > 1 && arg[0] == '-') {
            problem = "未知选项“" + arg + "”。";
        } else if (haveInput) {
            problem = "只能给一个输入文件。";
        } else {
            options.input = arg;
            haveInput = true;
        }
    }
    if (problem.empty() && options.maxOver && options.balls.empty()) {
        problem = "--max-over 只能与 --balls 一起用。";
    }
    if (problem.empty() && options.check && (options.maxOver || !options.sheet.empty())) {
        problem = "--check 不能与 --max-over 或 --sheet 一起用。";
    }
    if (!problem.empty()) return std::nullopt;
    return options;
}

}  // namespace tongqiu::batch
