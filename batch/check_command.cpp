#include <exception>

#include "batch_command.h"
#include "batch_files.h"
#include "tongqiu/table/record_check.h"
#include "tongqiu/table/table_messages.h"

namespace tongqiu::batch {

int CheckRecord(std::istream& in, const std::string& name, const std::string& output,
                const table::BallKit* kit, std::ostream& out, std::ostream& err) {
    const std::optional<table::TableFormat> format =
        output == "-" ? std::nullopt : table::FormatOfName(output);
    if (output != "-" && !format) {
        err << output << "：检查结果的文件名应以 .csv 或 .xlsx 结尾。\n";
        return kNothingWritten;
    }
    try {
        table::StreamSource source(in);
        const auto check = table::CheckRecord(source, kit);
        if (!check) {
            err << table::Located(check.error(), name, output) << "\n";
            return kNothingWritten;
        }
        if (format) {
            // Written whole to a file beside it first, so that a failure leaves nothing behind.
            const fs::path target = Utf8Path(output);
            const fs::path temporary = UnusedName(target.parent_path(), target);
            if (auto error = table::WriteProblems(*check, temporary, *format)) {
                std::error_code ignored;
                fs::remove(temporary, ignored);
                err << table::Located(*error, name, output) << "\n";
                return kNothingWritten;
            }
            fs::rename(temporary, target);
        }
        out << name << "：" << table::CheckSummary(*check) << "\n";
        for (const table::RecordProblem& problem : check->problems) {
            out << table::ProblemLine(*check, problem) << "\n";
        }
        for (const std::string& note : check->notes) out << "另：" << note << "\n";
        out.flush();
        if (!out) {
            err << "标准输出：无法写入。\n";
            return kNothingWritten;
        }
        return check->problems.empty() ? kAllComputed : kSomeRowsFailed;
    } catch (const std::exception&) {
        err << ThrownMessage(name, output) << "\n";
        return kNothingWritten;
    }
}

}  // namespace tongqiu::batch
