#include "tongqiu/calculate.h"

#include "tongqiu/coefficient_tables.h"
#include "tongqiu/guarded_arithmetic.h"
#include "tongqiu/number_text.h"

namespace tongqiu {
namespace {

using enum FieldName;

// The steps of one calculation. The first failure is kept and every later step does nothing, so
// the fields written before it keep their new texts and the later ones keep what they had.
class Steps {
public:
    explicit Steps(FieldSet& fields) : m_fields(fields) {}

    [[nodiscard]] const std::optional<CalcFailure>& Failure() const { return m_failure; }

    // The value of a step, or 0 once the calculation has failed; a failure of this step blames
    // `field`, the input that the user has to correct.
    double Take(const CheckedValue& value, std::optional<FieldName> field = std::nullopt) {
        if (m_failure) return 0.0;
        if (!value) m_failure = CalcFailure{value.error(), field};
        return value ? *value : 0.0;
    }

    double Input(FieldName name) { return Take(FieldValue(m_fields.Get(name)), name); }
    double Shown(FieldName name) { return Take(FieldValue(m_fields.Get(name))); }

    void Write(FieldName name, double value, Pattern pattern = Pattern::TwoPlaces) {
        if (!m_failure) m_fields.Set(name, FormatFixed(value, pattern));
    }

    // Copies the text of `winner` into `target` when `winner` shows the larger ball, else
    // `other`'s.
    void CopyLarger(FieldName target, FieldName winner, FieldName other) {
        const double difference = Take(Subtract(Shown(winner), Shown(other)));
        Copy(target, difference > 0 ? winner : other);
    }

    void Copy(FieldName target, FieldName source) {
        if (!m_failure) m_fields.Set(target, m_fields.Get(source));
    }

    // The ball by one table: the inner diameter as shown times the table's coefficient.
    void WriteBall(FieldName coefficientField, FieldName ballField, double coefficient) {
        Write(coefficientField, coefficient);
        Write(ballField, Take(Multiply(Shown(Text11), coefficient)));
    }

    // A tube must have a positive wall and a positive bore; a bend radius of 0 is a straight tube.
    void CheckDimensions(double outerDiameter, double wall, double bendRadius, double bore) {
        if (outerDiameter < 0) Reject(Text1, InvalidDimension::NegativeOuterDiameter);
        if (wall <= 0) Reject(Text2, InvalidDimension::NonPositiveWallThickness);
        if (bendRadius < 0) Reject(Text3, InvalidDimension::NegativeBendRadius);
        if (bore <= 0) Reject(Text2, InvalidDimension::NonPositiveInnerDiameter);
    }

private:
    void Reject(FieldName field, InvalidDimension dimension) {
        if (!m_failure) m_failure = CalcFailure{FailureKind::InvalidDimensions, field, dimension};
    }

    FieldSet& m_fields;
    std::optional<CalcFailure> m_failure;
};

}  // namespace

std::optional<CalcFailure> Calculate(FieldSet& fields) {
    Steps steps(fields);
    const double bendRadius = steps.Input(Text3);
    const double outerDiameter = steps.Input(Text1);
    steps.Write(Text7, steps.Take(Divide(bendRadius, outerDiameter), Text1), Pattern::SixPlaces);

    const double wall = steps.Input(Text2);
    const double twiceWall = steps.Take(Add(wall, wall), Text2);
    steps.Write(Text11, steps.Take(Subtract(outerDiameter, twiceWall), Text2));
    steps.CheckDimensions(outerDiameter, wall, bendRadius, steps.Shown(Text11));

    steps.WriteBall(Text8, Text13, Table10Coefficient(steps.Shown(Text11)));
    steps.WriteBall(Text9, Text14, Table11Coefficient(steps.Shown(Text7)));
    steps.WriteBall(Text10, Text15, Table12Coefficient(steps.Shown(Text1), steps.Shown(Text7)));

    steps.CopyLarger(Text4, Text13, Text15);  // splice weld, no bend
    steps.CopyLarger(Text5, Text14, Text15);  // bend, no splice weld
    // Bend and splice weld: the smaller of the table 10 and 11 balls (table 11 when equal), then
    // the larger of that and the table 12 ball.
    const double tables10And11 = steps.Take(Subtract(steps.Shown(Text13), steps.Shown(Text14)));
    steps.Copy(Text6, tables10And11 >= 0 ? Text14 : Text13);
    steps.CopyLarger(Text6, Text6, Text15);
    return steps.Failure();
}

}  // namespace tongqiu
