// Feeds arbitrary texts to the conversion and to Calculate and checks what must always hold.
// The input is the three typed texts, outer diameter, wall and bend radius, separated by '|'.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tongqiu/calculate.h"
#include "tongqiu/number_text.h"

namespace {

using namespace tongqiu;
using enum FieldName;

constexpr std::string_view kUntouched = "untouched";

void Require(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", invariant);
        std::abort();
    }
}

// A text the calculation writes must convert back to the value it shows, and show it again so.
void RequireShowsItsValue(const std::string& text, Pattern pattern) {
    try {
        Require(FormatFixed(FieldValue(text), pattern) == text,
                "a written text reads back as shown");
    } catch (const CalcFailure&) {
        Require(false, "a written text converts");
    }
}

void CheckConversion(const std::string& text) {
    try {
        const double value = FieldValue(text);
        RequireShowsItsValue(FormatFixed(value, Pattern::TwoPlaces), Pattern::TwoPlaces);
        RequireShowsItsValue(FormatFixed(value, Pattern::SixPlaces), Pattern::SixPlaces);
    } catch (const CalcFailure& failure) {
        Require(failure.kind == FailureKind::TypeMismatch || failure.kind == FailureKind::Overflow,
                "a conversion fails only as no number or too large");
    }
}

void CheckCalculation(FieldSet fields) {
    const FieldSet typed = fields;
    const auto failure = Calculate(fields);

    std::size_t written = 0;
    while (written < kCalculatedFields.size() &&
           fields.Get(kCalculatedFields[written]) != kUntouched)
        ++written;
    for (std::size_t i = written; i < kCalculatedFields.size(); ++i) {
        Require(fields.Get(kCalculatedFields[i]) == kUntouched,
                "a failure leaves every later field alone");
    }
    for (std::size_t i = 0; i < written; ++i) {
        RequireShowsItsValue(fields.Get(kCalculatedFields[i]), kCalculatedFields[i] == Text7
                                                                   ? Pattern::SixPlaces
                                                                   : Pattern::TwoPlaces);
    }
    for (const FieldName input : {Text1, Text2, Text3}) {
        Require(fields.Get(input) == typed.Get(input), "the inputs are never written");
    }
    Require(failure.has_value() == (written < kCalculatedFields.size()),
            "only a failure stops early");
    if (failure && failure->kind == FailureKind::InvalidDimensions) {
        Require(written == 2, "impossible dimensions stop after the inner diameter");
    }
    if (!failure) {
        const auto is = [&](FieldName copy, FieldName a, FieldName b) {
            return fields.Get(copy) == fields.Get(a) || fields.Get(copy) == fields.Get(b);
        };
        Require(is(Text4, Text13, Text15), "Text4 is a copy of Text13 or Text15");
        Require(is(Text5, Text14, Text15), "Text5 is a copy of Text14 or Text15");
        Require(is(Text6, Text13, Text14) || is(Text6, Text15, Text15),
                "Text6 is a copy of Text13, Text14 or Text15");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    FieldSet fields;
    for (const FieldName name : kCalculatedFields) fields.Set(name, std::string(kUntouched));
    for (const FieldName name : {Text1, Text2, Text3}) {
        const std::size_t end = std::min(input.find('|'), input.size());
        fields.Set(name, std::string(input.substr(0, end)));
        CheckConversion(fields.Get(name));
        input.remove_prefix(std::min(end + 1, input.size()));
    }
    CheckCalculation(fields);
    return 0;
}
