#include "tongqiu/calculate.h"

#include "tongqiu/coefficient_tables.h"
#include "tongqiu/guarded_arithmetic.h"
#include "tongqiu/number_text.h"

namespace tongqiu {
namespace {

using enum FieldName;

// Runs a step that can fail and, if it does, names the input field that the user has to correct.
template <typename Step>
auto Blaming(FieldName field, Step step) {
    try {
        return step();
    } catch (CalcFailure& failure) {
        failure.field = field;
        throw;
    }
}

double Value(const FieldSet& fields, FieldName name) { return FieldValue(fields.Get(name)); }

double InputValue(const FieldSet& fields, FieldName name) {
    return Blaming(name, [&] { return Value(fields, name); });
}

void Write(FieldSet& fields, FieldName name, double value, Pattern pattern = Pattern::TwoPlaces) {
    fields.Set(name, FormatFixed(value, pattern));
}

[[noreturn]] void Reject(FieldName field, InvalidDimension dimension) {
    throw CalcFailure{FailureKind::InvalidDimensions, field, dimension};
}

// A tube must have a positive wall and a positive bore; a bend radius of 0 is a straight tube.
void CheckDimensions(double outerDiameter, double wall, double bendRadius, double bore) {
    if (outerDiameter < 0) Reject(Text1, InvalidDimension::NegativeOuterDiameter);
    if (wall <= 0) Reject(Text2, InvalidDimension::NonPositiveWallThickness);
    if (bendRadius < 0) Reject(Text3, InvalidDimension::NegativeBendRadius);
    if (bore <= 0) Reject(Text2, InvalidDimension::NonPositiveInnerDiameter);
}

// The ball by one table: the inner diameter as shown times the table's coefficient.
void WriteBall(FieldSet& fields, FieldName coefficientField, FieldName ballField,
               double coefficient) {
    Write(fields, coefficientField, coefficient);
    Write(fields, ballField, Multiply(Value(fields, Text11), coefficient));
}

// Copies the text of `winner` into `target` when `winner` shows the larger ball, else `other`'s.
void CopyLarger(FieldSet& fields, FieldName target, FieldName winner, FieldName other) {
    const double difference = Subtract(Value(fields, winner), Value(fields, other));
    fields.Set(target, fields.Get(difference > 0 ? winner : other));
}

void Run(FieldSet& fields) {
    const double bendRadius = InputValue(fields, Text3);
    const double outerDiameter = InputValue(fields, Text1);
    const double ratio = Blaming(Text1, [&] { return Divide(bendRadius, outerDiameter); });
    Write(fields, Text7, ratio, Pattern::SixPlaces);

    const double wall = InputValue(fields, Text2);
    const double twiceWall = Blaming(Text2, [&] { return Add(wall, wall); });
    Write(fields, Text11, Blaming(Text2, [&] { return Subtract(outerDiameter, twiceWall); }));
    CheckDimensions(outerDiameter, wall, bendRadius, Value(fields, Text11));

    WriteBall(fields, Text8, Text13, Table10Coefficient(Value(fields, Text11)));
    WriteBall(fields, Text9, Text14, Table11Coefficient(Value(fields, Text7)));
    WriteBall(fields, Text10, Text15,
              Table12Coefficient(Value(fields, Text1), Value(fields, Text7)));

    CopyLarger(fields, Text4, Text13, Text15);  // splice weld, no bend
    CopyLarger(fields, Text5, Text14, Text15);  // bend, no splice weld
    // Bend and splice weld: the smaller of the table 10 and 11 balls (table 11 when equal), then
    // the larger of that and the table 12 ball.
    const double tables10And11 = Subtract(Value(fields, Text13), Value(fields, Text14));
    fields.Set(Text6, fields.Get(tables10And11 >= 0 ? Text14 : Text13));
    CopyLarger(fields, Text6, Text6, Text15);
}

}  // namespace

std::optional<CalcFailure> Calculate(FieldSet& fields) {
    try {
        Run(fields);
    } catch (const CalcFailure& failure) {
        return failure;
    }
    return std::nullopt;
}

}  // namespace tongqiu
