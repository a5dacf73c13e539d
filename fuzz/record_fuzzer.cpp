// Feeds arbitrary bytes to the two readers of the bench's files: as a kit of balls, and as a
// filled 通球记录 checked against a kit. Each ends in a kit or a record's check that holds
// together, or a refusal in words.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <set>
#include <sstream>
#include <string>

#include "require.h"
#include "tongqiu/table/record_check.h"
#include "tongqiu/table/table_messages.h"

namespace {

using namespace tongqiu::table;

void ReadAsKit(const std::string& bytes) {
    BytesSource in(bytes);
    const auto kit = BallKit::Read(in);
    if (!kit) {
        Require(!TableErrorMessage(kit.error()).empty(), "a refusal says why");
        return;
    }
    Require(!kit->Balls().empty() && kit->Balls().size() <= kMaxKitBalls, "a kit has its balls");
    std::set<std::string> numbers;
    for (const KitBall& ball : kit->Balls()) {
        Require(std::isfinite(ball.diameter) && ball.diameter > 0, "a ball's diameter is above 0");
        Require(numbers.insert(ball.number).second && !ball.number.empty(),
                "球号 tell balls apart");
        Require(kit->Find(ball.number) == &ball, "a ball is found by its 球号");
        const KitBall* chosen =
            kit->Choose(ball.diameter, std::numeric_limits<double>::infinity(), std::nullopt);
        Require(chosen != nullptr && chosen->diameter == ball.diameter,
                "a ball is chosen for its own diameter, or one the same");
    }
}

void ReadAsRecord(const std::string& bytes) {
    static const BallKit kit = [] {
        BytesSource in("球号,直径\nS,17.5\nM,24\nL,43\n");
        return *BallKit::Read(in);
    }();
    BytesSource in(bytes);
    const auto check = CheckRecord(in, &kit);
    if (!check) {
        Require(!TableErrorMessage(check.error()).empty(), "a refusal says why");
        return;
    }
    Require(check->passed + check->failed + check->untested <= check->tubes,
            "each tube is counted once");
    Require(check->untested == 0 || !check->problems.empty(), "an untested tube is a problem");
    for (const RecordProblem& problem : check->problems) {
        Require(!problem.text.empty() && problem.identity.size() <= check->identityHeadings.size(),
                "a problem says what, of a tube told by the record's headings");
        Require(!ProblemLine(*check, problem).empty(), "a problem is told");
    }
    Require(!CheckSummary(*check).empty(), "the check is summed up");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ReadAsKit(bytes);
    ReadAsRecord(bytes);
    return 0;
}
