// Feeds arbitrary texts to the conversion and to Calculate and checks what must always hold.
// The input is the three typed texts, outer diameter, wall and bend radius, separated by '|'.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "require.h"
#include "tongqiu/calculate.h"
#include "tongqiu/number_text.h"

namespace {

using namespace tongqiu;
using enum FieldName;

// A written text converts back to the value it shows and shows it again so.
void RequireShowsItsValue(const std::string& text, Pattern pattern) {
    const auto value = FieldValue(text);
    Require(value && FormatFixed(*value, pattern) == text, "a text reads back as shown");
}

void CheckConversion(const std::string& text) {
    const auto value = FieldValue(text);
    if (!value) {
        Require(
            value.error() == FailureKind::TypeMismatch || value.error() == FailureKind::Overflow,
            "a conversion fails only as no number or too large");
        return;
    }
    for (const auto pattern : {Pattern::TwoPlaces, Pattern::SixPlaces}) {
        RequireShowsItsValue(FormatFixed(*value, pattern), pattern);
    }
}

void CheckCalculation(const FieldSet& typed) {
    FieldSet fields = typed;
    const auto failure = Calculate(fields);
    // The written fields are a prefix of the write order; every later one is left alone.
    const auto firstUnwritten = [&] {
        for (std::size_t i = 0; i < kCalculatedFields.size(); ++i) {
            if (fields.Get(kCalculatedFields[i]).empty()) return i;
        }
        return kCalculatedFields.size();
    }();
    for (std::size_t i = 0; i < kCalculatedFields.size(); ++i) {
        const FieldName name = kCalculatedFields[i];
        Require(fields.Get(name).empty() == (i >= firstUnwritten), "a failure leaves later fields");
        if (i < firstUnwritten) {
            RequireShowsItsValue(fields.Get(name),
                                 name == Text7 ? Pattern::SixPlaces : Pattern::TwoPlaces);
        }
    }
    for (const FieldName input : kInputFields) {
        Require(fields.Get(input) == typed.Get(input), "the inputs are never written");
    }
    Require(failure.has_value() == (firstUnwritten < kCalculatedFields.size()),
            "only a failure stops early");
    Require(!failure || failure->kind != FailureKind::InvalidDimensions || firstUnwritten == 2,
            "impossible dimensions stop after the inner diameter");
    const auto copies = [&](FieldName copy, FieldName a, FieldName b) {
        return fields.Get(copy) == fields.Get(a) || fields.Get(copy) == fields.Get(b);
    };
    Require(failure || (copies(Text4, Text13, Text15) && copies(Text5, Text14, Text15) &&
                        (copies(Text6, Text13, Text14) || copies(Text6, Text15, Text15))),
            "the three results are copies of the right balls");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    FieldSet fields;
    for (const FieldName name : kInputFields) {
        const std::size_t end = std::min(input.find('|'), input.size());
        fields.Set(name, std::string(input.substr(0, end)));
        CheckConversion(fields.Get(name));
        input.remove_prefix(std::min(end + 1, input.size()));
    }
    CheckCalculation(fields);
    return 0;
}
