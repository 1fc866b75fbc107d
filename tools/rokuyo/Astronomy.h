// Positions and instants of the sun and moon, precise to seconds over
// 1900-2100, for placing new moons and principal solar terms on JST days.
#pragma once

namespace rokuyo {

// Julian Day of a Gregorian calendar instant (day may carry a fraction).
double julianDay(int year, int month, double day);

// TT - UT in seconds for a decimal year (Espenak and Meeus polynomials).
double deltaTSeconds(double decimalYear);

// Converts a Julian Ephemeris Day (TT) to a Julian Day in Japan Standard Time.
double jdeToJstJulianDay(double jde);

// The Gregorian date (JST) on which a JST Julian Day falls, as a day number
// counting from 1970-01-01.
long long jstDayNumber(double jstJulianDay);

// Apparent geocentric longitude of the sun in degrees [0, 360), referred to
// the true equinox of date: VSOP87 (Meeus' truncated Earth series), FK5
// correction, IAU 1980 nutation and annual aberration.
double sunApparentLongitude(double jde);

// Nutation in longitude, in degrees (IAU 1980 theory, full 63-term series).
double nutationInLongitude(double jde);

// The instant (JDE, TT) nearest to jdeGuess when the sun's apparent
// longitude equals longitudeDeg.
double solarLongitudeInstant(double longitudeDeg, double jdeGuess);

// The true new moon with lunation number k (k = 0 is the new moon of
// 2000-01-06), in JDE (TT): Meeus' phase series with planetary arguments.
double newMoonJde(int k);

// Lunation number of the first new moon at or after the given JDE.
int lunationAtOrAfter(double jde);

// An independent new-moon instant from the moon's apparent longitude
// (ELP-2000/82 main terms) set equal to the sun's; used only to check
// the phase series near midnight.
double newMoonJdeByLongitude(int k);

} // namespace rokuyo
