// Colour temperature to screen colour: Planckian locus (Krystek 1985), CIE XYZ to linear sRGB
// (IEC 61966-2-1), gamut mapping towards white, brightest-channel normalisation, sRGB encoding.
#include <vantrel/db/lamp_color.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace vantrel {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

Matrix inverse(const Matrix& m)
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
        - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix r;
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j) {
            // The cofactor of m[j][i], by cyclic indices.
            const size_t a = (j + 1) % 3, b = (j + 2) % 3, c = (i + 1) % 3, d = (i + 2) % 3;
            r[i][j] = (m[a][c] * m[b][d] - m[a][d] * m[b][c]) / det;
        }
    return r;
}

// XYZ to linear sRGB, derived from the sRGB primaries and its D65 white (IEC 61966-2-1) at full
// precision, so that the white comes out as exactly equal channels.
const Matrix& xyzToLinearSrgb()
{
    static const Matrix m = [] {
        const Chromaticity primaries[3] = {{0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}};
        Matrix p;
        for (size_t i = 0; i < 3; ++i) {
            p[0][i] = primaries[i].x / primaries[i].y;
            p[1][i] = 1.0;
            p[2][i] = (1.0 - primaries[i].x - primaries[i].y) / primaries[i].y;
        }
        const Chromaticity w = kSrgbWhite;
        const double white[3] = {w.x / w.y, 1.0, (1.0 - w.x - w.y) / w.y};
        const Matrix pi = inverse(p);
        Matrix rgbToXyz;
        for (size_t i = 0; i < 3; ++i) {
            const double scale = pi[i][0] * white[0] + pi[i][1] * white[1] + pi[i][2] * white[2];
            for (size_t row = 0; row < 3; ++row)
                rgbToXyz[row][i] = p[row][i] * scale;
        }
        return inverse(rgbToXyz);
    }();
    return m;
}

} // namespace

Chromaticity planckianChromaticity(double kelvin)
{
    // M. Krystek, "An algorithm to calculate correlated colour temperature", Color Research and
    // Application 10 (1985): the locus in CIE 1960 (u, v), then to (x, y).
    const double t = kelvin;
    const double u
        = (0.860117757 + 1.54118254e-4 * t + 1.28641212e-7 * t * t) / (1.0 + 8.42420235e-4 * t + 7.08145163e-7 * t * t);
    const double v
        = (0.317398726 + 4.22806245e-5 * t + 4.20481691e-8 * t * t) / (1.0 - 2.89741816e-5 * t + 1.61456053e-7 * t * t);
    const double d = 2.0 * u - 8.0 * v + 4.0;
    return {3.0 * u / d, 2.0 * v / d};
}

LampRgb linearRgbOf(Chromaticity c)
{
    const double xyz[3] = {c.x / c.y, 1.0, (1.0 - c.x - c.y) / c.y};
    const Matrix& m = xyzToLinearSrgb();
    double rgb[3];
    for (size_t i = 0; i < 3; ++i)
        rgb[i] = m[i][0] * xyz[0] + m[i][1] * xyz[1] + m[i][2] * xyz[2];
    const double lowest = std::min({rgb[0], rgb[1], rgb[2]});
    if (lowest < 0.0)
        for (double& channel : rgb)
            channel -= lowest;
    const double highest = std::max({rgb[0], rgb[1], rgb[2]});
    // A channel within rounding of the brightest is the brightest: the white point must give
    // exactly 1, which a caller scaling to 255 and truncating would otherwise show as 254.
    auto scaled = [highest](double channel) { return channel > highest * (1.0 - 1e-9) ? 1.0 : channel / highest; };
    return {scaled(rgb[0]), scaled(rgb[1]), scaled(rgb[2])};
}

LampRgb encodeSrgb(const LampRgb& linear)
{
    auto encode = [](double c) {
        return c >= 1.0 ? 1.0 : c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
    };
    return {encode(linear.red), encode(linear.green), encode(linear.blue)};
}

LampRgb lampRgbOf(Chromaticity c) { return encodeSrgb(linearRgbOf(c)); }

LampRgb lampRgbOfKelvin(double kelvin) { return lampRgbOf(planckianChromaticity(kelvin)); }

} // namespace vantrel
