#include "short_float_chars.h"

#include <cmath>
#include <cstdint>

namespace tongqiu {
namespace {

// The powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMostDigits = 15;  // every integer of 15 digits is a double

// a × b as high + low exactly (Dekker's product: no fused multiply-add is needed).
void ExactProduct(double a, double b, double& high, double& low) {
    const auto split = [](double x, double& upper, double& lower) {
        const double spread = 134217729.0 * x;  // 2^27 + 1
        upper = spread - (spread - x);
        lower = x - upper;
    };
    double aHigh = 0;
    double aLow = 0;
    double bHigh = 0;
    double bLow = 0;
    split(a, aHigh, aLow);
    split(b, bHigh, bLow);
    high = a * b;
    low = ((aHigh * bHigh - high) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
}

}  // namespace

// At most 15 significant digits times a power of ten a double holds exactly: one correctly
// rounded multiplication or division gives the nearest double.
bool ReadShort(const char* first, const char* last, double& value) {
    std::uint64_t digits = 0;
    int significant = 0;
    int exponent = 0;
    bool point = false;
    const char* at = first;
    for (; at != last && *at != 'e' && *at != 'E'; ++at) {
        if (*at == '.') {
            point = true;
            continue;
        }
        if (significant > 0 || *at != '0') {
            if (++significant > kMostDigits) return false;
            digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
        }
        if (point) --exponent;
    }
    if (at != last) {
        const bool negative = *++at == '-';
        if (*at == '+' || *at == '-') ++at;
        int written = 0;
        for (; at != last; ++at) {
            if ((written = written * 10 + (*at - '0')) > 400) return false;
        }
        exponent += negative ? -written : written;
    }
    if (digits == 0) {
        value = 0.0;
        return true;
    }
    if (exponent < -22 || exponent > 22) return false;
    const auto whole = static_cast<double>(digits);
    value = exponent < 0 ? whole / kExactPowers[-exponent] : whole * kExactPowers[exponent];
    return true;
}

// The value scaled by a power of ten to precision + 1 digits before the point, exactly (as a sum
// of two doubles), then rounded to the nearest whole number; a tie, or a sum too near one to
// tell, is left to the C library, which rounds it to even.
bool WriteShort(char* first, const char* last, double value, int precision, char*& end) {
    if (precision < 0 || precision >= kMostDigits || !(value > 0.0) || !std::isfinite(value)) {
        return false;
    }
    int exponent = static_cast<int>(std::floor(std::log10(value)));
    const int scale = precision - exponent;
    if (scale < 0 || scale > 22) return false;
    double high = 0;
    double low = 0;
    ExactProduct(value, kExactPowers[scale], high, low);
    double whole = std::nearbyint(high);
    const double rest = (high - whole) + low;
    if (rest == 0.5 || rest == -0.5) return false;
    if (rest > 0.5) whole += 1.0;
    if (rest < -0.5) whole -= 1.0;
    if (whole == kExactPowers[precision + 1]) {  // 9.99… rounded up to 10
        whole = kExactPowers[precision];
        ++exponent;
    }
    // Outside: the logarithm was a digit off, near a power of ten.
    if (whole < kExactPowers[precision] || whole >= kExactPowers[precision + 1]) return false;

    // d.ddde±xx: the exponent has two digits, as it always has here.
    const int size = precision + (precision > 0 ? 2 : 1) + 4;
    if (last - first < size) return false;
    auto number = static_cast<std::uint64_t>(whole);
    char* digit = first + size - 5;
    for (int i = 0; i < precision; ++i, number /= 10)
        *digit-- = static_cast<char>('0' + number % 10);
    if (precision > 0) *digit-- = '.';
    *digit = static_cast<char>('0' + number);
    char* mark = first + size - 4;
    mark[0] = 'e';
    mark[1] = exponent < 0 ? '-' : '+';
    mark[2] = static_cast<char>('0' + std::abs(exponent) / 10);
    mark[3] = static_cast<char>('0' + std::abs(exponent) % 10);
    end = first + size;
    return true;
}

}  // namespace tongqiu
