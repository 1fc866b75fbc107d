#include "Astronomy.h"

#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace rokuyo {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDegree = kPi / 180.0;
constexpr double kJ2000 = 2451545.0;

double normalizeDegrees(double degrees)
{
    double r = std::fmod(degrees, 360.0);
    return r < 0.0 ? r + 360.0 : r;
}

// Wraps to [-180, 180) so that differences across 0 degrees stay small.
double signedDegrees(double degrees)
{
    double r = normalizeDegrees(degrees + 180.0);
    return r - 180.0;
}

double sinDeg(double degrees)
{
    return std::sin(degrees * kDegree);
}

struct VsopTerm {
    double amplitude; // 1e-8 radians (or AU for the radius vector)
    double phase;
    double frequency; // radians per Julian millennium
};

// Earth, heliocentric, ecliptic and equinox of date (VSOP87D as truncated
// by Meeus, Astronomical Algorithms, appendix III).
constexpr VsopTerm kL0[] = {
    {175347046, 0, 0},           {3341656, 4.6692568, 6283.07585},
    {34894, 4.6261, 12566.1517}, {3497, 2.7441, 5753.3849},
    {3418, 2.8289, 3.5231},      {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194},   {2343, 6.1352, 3930.2097},
    {1324, 0.7425, 11506.7698},  {1273, 2.0371, 529.6910},
    {1199, 1.1096, 1577.3435},   {990, 5.233, 5884.927},
    {902, 2.045, 26.298},        {857, 3.508, 398.149},
    {780, 1.179, 5223.694},      {753, 2.533, 5507.553},
    {505, 4.583, 18849.228},     {492, 4.205, 775.523},
    {357, 2.920, 0.067},         {317, 5.849, 11790.629},
    {284, 1.899, 796.298},       {271, 0.315, 10977.079},
    {243, 0.345, 5486.778},      {206, 4.806, 2544.314},
    {205, 1.869, 5573.143},      {202, 2.458, 6069.777},
    {156, 0.833, 213.299},       {132, 3.411, 2942.463},
    {126, 1.083, 20.775},        {115, 0.645, 0.980},
    {103, 0.636, 4694.003},      {102, 0.976, 15720.839},
    {102, 4.267, 7.114},         {99, 6.21, 2146.17},
    {98, 0.68, 155.42},          {86, 5.98, 161000.69},
    {85, 1.30, 6275.96},         {85, 3.67, 71430.70},
    {80, 1.81, 17260.15},        {79, 3.04, 12036.46},
    {75, 1.76, 5088.63},         {74, 3.50, 3154.69},
    {74, 4.68, 801.82},          {70, 0.83, 9437.76},
    {62, 3.98, 8827.39},         {61, 1.82, 7084.90},
    {57, 2.78, 6286.60},         {56, 4.39, 14143.50},
    {56, 3.47, 6279.55},         {52, 0.19, 12139.55},
    {52, 1.33, 1748.02},         {51, 0.28, 5856.48},
    {49, 0.49, 1194.45},         {41, 5.37, 8429.24},
    {41, 2.40, 19651.05},        {39, 6.17, 10447.39},
    {37, 6.04, 10213.29},        {37, 2.57, 1059.38},
    {36, 1.71, 2352.87},         {36, 1.78, 6812.77},
    {33, 0.59, 17789.85},        {30, 0.44, 83996.85},
    {30, 2.74, 1349.87},         {25, 3.16, 4690.48},
};
constexpr VsopTerm kL1[] = {
    {628331966747, 0, 0},       {206059, 2.678235, 6283.07585},
    {4303, 2.6351, 12566.1517}, {425, 1.590, 3.523},
    {119, 5.796, 26.298},       {109, 2.966, 1577.344},
    {93, 2.59, 18849.23},       {72, 1.14, 529.69},
    {68, 1.87, 398.15},         {67, 4.41, 5507.55},
    {59, 2.89, 5223.69},        {56, 2.17, 155.42},
    {45, 0.40, 796.30},         {36, 0.47, 775.52},
    {29, 2.65, 7.11},           {21, 5.34, 0.98},
    {19, 1.85, 5486.78},        {19, 4.97, 213.30},
    {17, 2.99, 6275.96},        {16, 0.03, 2544.31},
    {16, 1.43, 2146.17},        {15, 1.21, 10977.08},
    {12, 2.83, 1748.02},        {12, 3.26, 5088.63},
    {12, 5.27, 1194.45},        {12, 2.08, 4694.00},
    {11, 0.77, 553.57},         {10, 1.30, 6286.60},
    {10, 4.24, 1349.87},        {9, 2.70, 242.73},
    {9, 5.64, 951.72},          {8, 5.30, 2352.87},
    {6, 2.65, 9437.76},         {6, 4.67, 4690.48},
};
constexpr VsopTerm kL2[] = {
    {52919, 0, 0},      {8720, 1.0721, 6283.0758}, {309, 0.867, 12566.152}, {27, 0.05, 3.52},   {16, 5.19, 26.30},
    {16, 3.68, 155.42}, {10, 0.76, 18849.23},      {9, 2.06, 77713.77},     {7, 0.83, 775.52},  {5, 4.66, 1577.34},
    {4, 1.03, 7.11},    {4, 3.44, 5573.14},        {3, 5.14, 796.30},       {3, 6.05, 5507.55}, {3, 1.19, 242.73},
    {3, 6.12, 529.69},  {3, 0.31, 398.15},         {3, 2.28, 553.57},       {2, 4.38, 5223.69}, {2, 3.75, 0.98},
};
constexpr VsopTerm kL3[] = {
    {289, 5.844, 6283.076}, {35, 0, 0},          {17, 5.49, 12566.15}, {3, 5.20, 155.42},
    {1, 4.72, 3.52},        {1, 5.30, 18849.23}, {1, 5.97, 242.73},
};
constexpr VsopTerm kL4[] = {{114, 3.142, 0}, {8, 4.13, 6283.08}, {1, 3.84, 12566.15}};
constexpr VsopTerm kL5[] = {{1, 3.14, 0}};
constexpr VsopTerm kB0[] = {
    {280, 3.199, 84334.662}, {102, 5.422, 5507.553}, {80, 3.88, 5223.69}, {44, 3.70, 2352.87}, {32, 4.00, 1577.34},
};
constexpr VsopTerm kB1[] = {{9, 3.90, 5507.55}, {6, 1.73, 5223.69}};
constexpr VsopTerm kR0[] = {
    {100013989, 0, 0},
    {1670700, 3.0984635, 6283.07585},
    {13956, 3.05525, 12566.1517},
    {3084, 5.1985, 77713.7715},
    {1628, 1.1739, 5753.3849},
    {1576, 2.8469, 7860.4194},
    {925, 5.453, 11506.770},
    {542, 4.564, 3930.210},
    {472, 3.661, 5884.927},
    {346, 0.964, 5507.553},
    {329, 5.900, 5223.694},
    {307, 0.299, 5573.143},
    {243, 4.273, 11790.629},
    {212, 5.847, 1577.344},
    {186, 5.022, 10977.079},
    {175, 3.012, 18849.228},
    {110, 5.055, 5486.778},
    {98, 0.89, 6069.78},
    {86, 5.69, 15720.84},
    {86, 1.27, 161000.69},
    {65, 0.27, 17260.15},
    {63, 0.92, 529.69},
    {57, 2.01, 83996.85},
    {56, 5.24, 71430.70},
    {49, 3.25, 2544.31},
    {47, 2.58, 775.52},
    {45, 5.54, 9437.76},
    {43, 6.01, 6275.96},
    {39, 5.36, 4694.00},
    {38, 2.39, 8827.39},
    {37, 0.83, 19651.05},
    {37, 4.90, 12139.55},
    {36, 1.67, 12036.46},
    {35, 1.84, 2942.46},
    {33, 0.24, 7084.90},
    {32, 0.18, 5088.63},
    {32, 1.78, 398.15},
    {28, 1.21, 6286.60},
    {28, 1.90, 6279.55},
    {26, 4.59, 10447.39},
};
constexpr VsopTerm kR1[] = {
    {103019, 1.10749, 6283.07585},
    {1721, 1.0644, 12566.1517},
    {702, 3.142, 0},
    {32, 1.02, 18849.23},
    {31, 2.84, 5507.55},
    {25, 1.32, 5223.69},
    {18, 1.42, 1577.34},
    {10, 5.91, 10977.08},
    {9, 1.42, 6275.96},
    {9, 0.27, 5486.78},
};
constexpr VsopTerm kR2[] = {
    {4359, 5.7846, 6283.0758}, {124, 5.579, 12566.152}, {12, 3.14, 0},
    {9, 3.63, 77713.77},       {6, 1.87, 5573.14},      {3, 5.47, 18849.23},
};
constexpr VsopTerm kR3[] = {{145, 4.273, 6283.076}, {7, 3.92, 12566.15}};
constexpr VsopTerm kR4[] = {{4, 2.56, 6283.08}};

template <std::size_t N> double vsopSum(const VsopTerm (&terms)[N], double tau)
{
    double sum = 0.0;
    for (const VsopTerm& t : terms)
        sum += t.amplitude * std::cos(t.phase + t.frequency * tau);
    return sum;
}

// Powers of tau multiply the series in order: S0 + S1 tau + S2 tau^2 + ...
double polynomialOfSeries(std::initializer_list<double> series, double tau)
{
    double result = 0.0;
    double power = 1.0;
    for (double s : series) {
        result += s * power;
        power *= tau;
    }
    return result;
}

struct NutationTerm {
    signed char d, m, mp, f, omega; // multiples of the fundamental arguments
    double psi;                     // 0.0001 arcsecond
    double psiPerCentury;
};

// IAU 1980 theory of nutation, longitude terms (Meeus table 22.A).
constexpr NutationTerm kNutation[] = {
    {0, 0, 0, 0, 1, -171996, -174.2},
    {-2, 0, 0, 2, 2, -13187, -1.6},
    {0, 0, 0, 2, 2, -2274, -0.2},
    {0, 0, 0, 0, 2, 2062, 0.2},
    {0, 1, 0, 0, 0, 1426, -3.4},
    {0, 0, 1, 0, 0, 712, 0.1},
    {-2, 1, 0, 2, 2, -517, 1.2},
    {0, 0, 0, 2, 1, -386, -0.4},
    {0, 0, 1, 2, 2, -301, 0},
    {-2, -1, 0, 2, 2, 217, -0.5},
    {-2, 0, 1, 0, 0, -158, 0},
    {-2, 0, 0, 2, 1, 129, 0.1},
    {0, 0, -1, 2, 2, 123, 0},
    {2, 0, 0, 0, 0, 63, 0},
    {0, 0, 1, 0, 1, 63, 0.1},
    {2, 0, -1, 2, 2, -59, 0},
    {0, 0, -1, 0, 1, -58, -0.1},
    {0, 0, 1, 2, 1, -51, 0},
    {-2, 0, 2, 0, 0, 48, 0},
    {0, 0, -2, 2, 1, 46, 0},
    {2, 0, 0, 2, 2, -38, 0},
    {0, 0, 2, 2, 2, -31, 0},
    {0, 0, 2, 0, 0, 29, 0},
    {-2, 0, 1, 2, 2, 29, 0},
    {0, 0, 0, 2, 0, 26, 0},
    {-2, 0, 0, 2, 0, -22, 0},
    {0, 0, -1, 2, 1, 21, 0},
    {0, 2, 0, 0, 0, 17, -0.1},
    {2, 0, -1, 0, 1, 16, 0},
    {-2, 2, 0, 2, 2, -16, 0.1},
    {0, 1, 0, 0, 1, -15, 0},
    {-2, 0, 1, 0, 1, -13, 0},
    {0, -1, 0, 0, 1, -12, 0},
    {0, 0, 2, -2, 0, 11, 0},
    {2, 0, -1, 2, 1, -10, 0},
    {2, 0, 1, 2, 2, -8, 0},
    {0, 1, 0, 2, 2, 7, 0},
    {-2, 1, 1, 0, 0, -7, 0},
    {0, -1, 0, 2, 2, -7, 0},
    {2, 0, 0, 2, 1, -7, 0},
    {2, 0, 1, 0, 0, 6, 0},
    {-2, 0, 2, 2, 2, 6, 0},
    {-2, 0, 1, 2, 1, 6, 0},
    {2, 0, -2, 0, 1, -6, 0},
    {2, 0, 0, 0, 1, -6, 0},
    {0, -1, 1, 0, 0, 5, 0},
    {-2, -1, 0, 2, 1, -5, 0},
    {-2, 0, 0, 0, 1, -5, 0},
    {0, 0, 2, 2, 1, -5, 0},
    {-2, 0, 2, 0, 1, 4, 0},
    {-2, 1, 0, 2, 1, 4, 0},
    {0, 0, 1, -2, 0, 4, 0},
    {-1, 0, 1, 0, 0, -4, 0},
    {-2, 1, 0, 0, 0, -4, 0},
    {1, 0, 0, 0, 0, -4, 0},
    {0, 0, 1, 2, 0, 3, 0},
    {0, 0, -2, 2, 2, -3, 0},
    {-1, -1, 1, 0, 0, -3, 0},
    {0, 1, 1, 0, 0, -3, 0},
    {0, -1, 1, 2, 2, -3, 0},
    {2, -1, -1, 2, 2, -3, 0},
    {0, 0, 3, 2, 2, -3, 0},
    {2, -1, 0, 2, 2, -3, 0},
};

// Moon's longitude terms of ELP-2000/82 kept by Meeus (table 47.A):
// multiples of D, M, M', F and the coefficient in 1e-6 degree.
struct MoonTerm {
    signed char d, m, mp, f;
    double coefficient;
};
constexpr MoonTerm kMoonLongitude[] = {
    {0, 0, 1, 0, 6288774}, {2, 0, -1, 0, 1274027}, {2, 0, 0, 0, 658314},  {0, 0, 2, 0, 213618}, {0, 1, 0, 0, -185116},
    {0, 0, 0, 2, -114332}, {2, 0, -2, 0, 58793},   {2, -1, -1, 0, 57066}, {2, 0, 1, 0, 53322},  {2, -1, 0, 0, 45758},
    {0, 1, -1, 0, -40923}, {1, 0, 0, 0, -34720},   {0, 1, 1, 0, -30383},  {2, 0, 0, -2, 15327}, {0, 0, 1, 2, -12528},
    {0, 0, 1, -2, 10980},  {4, 0, -1, 0, 10675},   {0, 0, 3, 0, 10034},   {4, 0, -2, 0, 8548},  {2, 1, -1, 0, -7888},
    {2, 1, 0, 0, -6766},   {1, 0, -1, 0, -5163},   {1, 1, 0, 0, 4987},    {2, -1, 1, 0, 4036},  {2, 0, 2, 0, 3994},
    {4, 0, 0, 0, 3861},    {2, 0, -3, 0, 3665},    {0, 1, -2, 0, -2689},  {2, 0, -1, 2, -2602}, {2, -1, -2, 0, 2390},
    {1, 0, 1, 0, -2348},   {2, -2, 0, 0, 2236},    {0, 1, 2, 0, -2120},   {0, 2, 0, 0, -2069},  {2, -2, -1, 0, 2048},
    {2, 0, 1, -2, -1773},  {2, 0, 0, 2, -1595},    {4, -1, -1, 0, 1215},  {0, 0, 2, 2, -1110},  {3, 0, -1, 0, -892},
    {2, 1, 1, 0, -810},    {4, -1, -2, 0, 759},    {0, 2, -1, 0, -713},   {2, 2, -1, 0, -700},  {2, 1, -2, 0, 691},
    {2, -1, 0, -2, 596},   {4, 0, 1, 0, 549},      {0, 0, 4, 0, 537},     {4, -1, 0, 0, 520},   {1, 0, -2, 0, -487},
    {2, 1, 0, -2, -399},   {0, 0, 2, -2, -381},    {1, 1, 1, 0, 351},     {3, 0, -2, 0, -340},  {4, 0, -3, 0, 330},
    {2, -1, 2, 0, 327},    {0, 2, 1, 0, -323},     {1, 1, -1, 0, 299},    {2, 0, 3, 0, 294},
};

double moonApparentLongitude(double jde)
{
    const double t = (jde - kJ2000) / 36525.0;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const double lp = 218.3164477 + 481267.88123421 * t - 0.0015786 * t2 + t3 / 538841.0 - t4 / 65194000.0;
    const double d = 297.8501921 + 445267.1114034 * t - 0.0018819 * t2 + t3 / 545868.0 - t4 / 113065000.0;
    const double m = 357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000.0;
    const double mp = 134.9633964 + 477198.8675055 * t + 0.0087414 * t2 + t3 / 69699.0 - t4 / 14712000.0;
    const double f = 93.2720950 + 483202.0175233 * t - 0.0036539 * t2 - t3 / 3526000.0 + t4 / 863310000.0;
    const double a1 = 119.75 + 131.849 * t;
    const double a2 = 53.09 + 479264.290 * t;
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
    double sum = 0.0;
    for (const MoonTerm& term : kMoonLongitude) {
        const double arg = term.d * d + term.m * m + term.mp * mp + term.f * f;
        const double eccentricity = term.m == 0 ? 1.0 : (std::abs(term.m) == 1 ? e : e * e);
        sum += term.coefficient * eccentricity * sinDeg(arg);
    }
    sum += 3958.0 * sinDeg(a1) + 1962.0 * sinDeg(lp - f) + 318.0 * sinDeg(a2);
    return normalizeDegrees(lp + sum / 1e6 + nutationInLongitude(jde));
}

} // namespace

double julianDay(int year, int month, double day)
{
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const int a = year / 100;
    const int b = 2 - a + a / 4;
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b - 1524.5;
}

double deltaTSeconds(double y)
{
    if (y < 1860.0)
        throw std::out_of_range("deltaTSeconds: year before 1860");
    if (y < 1900.0) {
        const double t = y - 1860.0;
        return ((((t / 233174.0 - 0.0004473624) * t + 0.01680668) * t - 0.251754) * t + 0.5737) * t + 7.62;
    }
    if (y < 1920.0) {
        const double t = y - 1900.0;
        return (((-0.000197 * t + 0.0061966) * t - 0.0598939) * t + 1.494119) * t - 2.79;
    }
    if (y < 1941.0) {
        const double t = y - 1920.0;
        return ((0.0020936 * t - 0.076100) * t + 0.84493) * t + 21.20;
    }
    if (y < 1961.0) {
        const double t = y - 1950.0;
        return 29.07 + 0.407 * t - t * t / 233.0 + t * t * t / 2547.0;
    }
    if (y < 1986.0) {
        const double t = y - 1975.0;
        return 45.45 + 1.067 * t - t * t / 260.0 - t * t * t / 718.0;
    }
    if (y < 2005.0) {
        const double t = y - 2000.0;
        return ((((0.00002373599 * t + 0.000651814) * t + 0.0017275) * t - 0.060374) * t + 0.3345) * t + 63.86;
    }
    if (y < 2050.0) {
        const double t = y - 2000.0;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    if (y < 2150.0) {
        const double u = (y - 1820.0) / 100.0;
        return -20.0 + 32.0 * u * u - 0.5628 * (2150.0 - y);
    }
    throw std::out_of_range("deltaTSeconds: year after 2150");
}

double jdeToJstJulianDay(double jde)
{
    const double year = 2000.0 + (jde - kJ2000) / 365.2425;
    return jde - deltaTSeconds(year) / 86400.0 + 9.0 / 24.0;
}

long long jstDayNumber(double jstJulianDay)
{
    return static_cast<long long>(std::floor(jstJulianDay - 2440587.5));
}

double nutationInLongitude(double jde)
{
    const double t = (jde - kJ2000) / 36525.0;
    const double t2 = t * t, t3 = t2 * t;
    const double d = 297.85036 + 445267.111480 * t - 0.0019142 * t2 + t3 / 189474.0;
    const double m = 357.52772 + 35999.050340 * t - 0.0001603 * t2 - t3 / 300000.0;
    const double mp = 134.96298 + 477198.867398 * t + 0.0086972 * t2 + t3 / 56250.0;
    const double f = 93.27191 + 483202.017538 * t - 0.0036825 * t2 + t3 / 327270.0;
    const double omega = 125.04452 - 1934.136261 * t + 0.0020708 * t2 + t3 / 450000.0;
    double psi = 0.0;
    for (const NutationTerm& n : kNutation) {
        const double arg = n.d * d + n.m * m + n.mp * mp + n.f * f + n.omega * omega;
        psi += (n.psi + n.psiPerCentury * t) * sinDeg(arg);
    }
    return psi * 0.0001 / 3600.0;
}

double sunApparentLongitude(double jde)
{
    const double tau = (jde - kJ2000) / 365250.0;
    const double l = polynomialOfSeries({vsopSum(kL0, tau), vsopSum(kL1, tau), vsopSum(kL2, tau), vsopSum(kL3, tau),
                                         vsopSum(kL4, tau), vsopSum(kL5, tau)},
                                        tau) /
                     1e8;
    const double r =
        polynomialOfSeries(
            {vsopSum(kR0, tau), vsopSum(kR1, tau), vsopSum(kR2, tau), vsopSum(kR3, tau), vsopSum(kR4, tau)}, tau) /
        1e8;
    // Geocentric: the sun is seen opposite the earth.
    const double theta = l / kDegree + 180.0;
    // VSOP87 dynamical ecliptic to FK5 (the latitude part does not move longitude).
    const double fk5 = -0.09033 / 3600.0;
    const double aberration = -20.4898 / 3600.0 / r;
    return normalizeDegrees(theta + fk5 + nutationInLongitude(jde) + aberration);
}

double solarLongitudeInstant(double longitudeDeg, double jdeGuess)
{
    double jde = jdeGuess;
    // The sun moves 0.95-1.02 degree a day, so a fixed slope converges fast.
    constexpr double kDaysPerDegree = 365.2422 / 360.0;
    for (int i = 0; i < 100; ++i) {
        const double step = signedDegrees(longitudeDeg - sunApparentLongitude(jde)) * kDaysPerDegree;
        jde += step;
        if (std::abs(step) < 1e-9)
            return jde;
    }
    throw std::runtime_error("solarLongitudeInstant did not converge");
}

double newMoonJde(int lunation)
{
    const double k = lunation;
    const double t = k / 1236.85;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    double jde = 2451550.09766 + 29.530588861 * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
    const double m = 2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3;
    const double mp = 201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4;
    const double f = 160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
    const double omega = 124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3;

    jde += -0.40720 * sinDeg(mp) + 0.17241 * e * sinDeg(m) + 0.01608 * sinDeg(2 * mp) + 0.01039 * sinDeg(2 * f) +
           0.00739 * e * sinDeg(mp - m) - 0.00514 * e * sinDeg(mp + m) + 0.00208 * e * e * sinDeg(2 * m) -
           0.00111 * sinDeg(mp - 2 * f) - 0.00057 * sinDeg(mp + 2 * f) + 0.00056 * e * sinDeg(2 * mp + m) -
           0.00042 * sinDeg(3 * mp) + 0.00042 * e * sinDeg(m + 2 * f) + 0.00038 * e * sinDeg(m - 2 * f) -
           0.00024 * e * sinDeg(2 * mp - m) - 0.00017 * sinDeg(omega) - 0.00007 * sinDeg(mp + 2 * m) +
           0.00004 * sinDeg(2 * mp - 2 * f) + 0.00004 * sinDeg(3 * m) + 0.00003 * sinDeg(mp + m - 2 * f) +
           0.00003 * sinDeg(2 * mp + 2 * f) - 0.00003 * sinDeg(mp + m + 2 * f) + 0.00003 * sinDeg(mp - m + 2 * f) -
           0.00002 * sinDeg(mp - m - 2 * f) - 0.00002 * sinDeg(3 * mp + m) + 0.00002 * sinDeg(4 * mp);

    // Planetary arguments.
    const std::array<double, 14> arguments = {
        299.77 + 0.107408 * k - 0.009173 * t2,
        251.88 + 0.016321 * k,
        251.83 + 26.651886 * k,
        349.42 + 36.412478 * k,
        84.66 + 18.206239 * k,
        141.74 + 53.303771 * k,
        207.14 + 2.453732 * k,
        154.84 + 7.306860 * k,
        34.52 + 27.261239 * k,
        207.19 + 0.121824 * k,
        291.34 + 1.844379 * k,
        161.72 + 24.198154 * k,
        239.56 + 25.513099 * k,
        331.55 + 3.592518 * k,
    };
    constexpr std::array<double, 14> amplitudes = {0.000325, 0.000165, 0.000164, 0.000126, 0.000110,
                                                   0.000062, 0.000060, 0.000056, 0.000047, 0.000042,
                                                   0.000040, 0.000037, 0.000035, 0.000023};
    for (std::size_t i = 0; i < arguments.size(); ++i)
        jde += amplitudes[i] * sinDeg(arguments[i]);
    return jde;
}

int lunationAtOrAfter(double jde)
{
    int k = static_cast<int>(std::floor((jde - 2451550.09766) / 29.530588861));
    while (newMoonJde(k) < jde)
        ++k;
    while (newMoonJde(k - 1) >= jde)
        --k;
    return k;
}

double newMoonJdeByLongitude(int k)
{
    double jde = newMoonJde(k);
    // The moon gains about 12.19 degrees a day on the sun.
    constexpr double kDaysPerDegree = 1.0 / 12.19;
    for (int i = 0; i < 100; ++i) {
        const double step = -signedDegrees(moonApparentLongitude(jde) - sunApparentLongitude(jde)) * kDaysPerDegree;
        jde += step;
        if (std::abs(step) < 1e-9)
            return jde;
    }
    throw std::runtime_error("newMoonJdeByLongitude did not converge");
}

} // namespace rokuyo
