#include "Equinox.h"

#include <iterator>
#include <stdexcept>
#include <string>

namespace holidays {

namespace {

struct PublishedEquinoxes {
    int year;
    int vernal;   // day of March; 0 where the law was not yet in force
    int autumnal; // day of September
};

// 1955-2027 as in the Cabinet Office list of holidays; 1948-1954 as announced then
// (the spring days all on the 21st and 1951's autumn day on the 24th).
constexpr PublishedEquinoxes kPublished[] = {
    {1948, 0, 23},  {1949, 21, 23}, {1950, 21, 23}, {1951, 21, 24}, {1952, 21, 23}, {1953, 21, 23}, {1954, 21, 23},
    {1955, 21, 24}, {1956, 21, 23}, {1957, 21, 23}, {1958, 21, 23}, {1959, 21, 24}, {1960, 20, 23}, {1961, 21, 23},
    {1962, 21, 23}, {1963, 21, 24}, {1964, 20, 23}, {1965, 21, 23}, {1966, 21, 23}, {1967, 21, 24}, {1968, 20, 23},
    {1969, 21, 23}, {1970, 21, 23}, {1971, 21, 24}, {1972, 20, 23}, {1973, 21, 23}, {1974, 21, 23}, {1975, 21, 24},
    {1976, 20, 23}, {1977, 21, 23}, {1978, 21, 23}, {1979, 21, 24}, {1980, 20, 23}, {1981, 21, 23}, {1982, 21, 23},
    {1983, 21, 23}, {1984, 20, 23}, {1985, 21, 23}, {1986, 21, 23}, {1987, 21, 23}, {1988, 20, 23}, {1989, 21, 23},
    {1990, 21, 23}, {1991, 21, 23}, {1992, 20, 23}, {1993, 20, 23}, {1994, 21, 23}, {1995, 21, 23}, {1996, 20, 23},
    {1997, 20, 23}, {1998, 21, 23}, {1999, 21, 23}, {2000, 20, 23}, {2001, 20, 23}, {2002, 21, 23}, {2003, 21, 23},
    {2004, 20, 23}, {2005, 20, 23}, {2006, 21, 23}, {2007, 21, 23}, {2008, 20, 23}, {2009, 20, 23}, {2010, 21, 23},
    {2011, 21, 23}, {2012, 20, 22}, {2013, 20, 23}, {2014, 21, 23}, {2015, 21, 23}, {2016, 20, 22}, {2017, 20, 23},
    {2018, 21, 23}, {2019, 21, 23}, {2020, 20, 22}, {2021, 20, 23}, {2022, 21, 23}, {2023, 21, 23}, {2024, 20, 22},
    {2025, 20, 23}, {2026, 20, 23}, {2027, 21, 23},
};
static_assert(std::size(kPublished) == kLastPublishedEquinoxYear - kFirstPublishedEquinoxYear + 1);

const PublishedEquinoxes* published(int year)
{
    if (year < kFirstPublishedEquinoxYear || year > kLastPublishedEquinoxYear)
        return nullptr;
    return &kPublished[year - kFirstPublishedEquinoxYear];
}

void requireFormulaRange(int year)
{
    if (year < 1900 || year > 2099) {
        throw std::out_of_range("no equinox formula for the year " + std::to_string(year));
    }
}

// C++ division truncates toward zero, as the formula's int() does for the years before 1983.
int formulaDay(double base1900, double base1980, int year)
{
    requireFormulaRange(year);
    const int offset = year - 1980;
    if (year < 1980)
        return static_cast<int>(base1900 + 0.242194 * offset - (year - 1983) / 4);
    return static_cast<int>(base1980 + 0.242194 * offset - offset / 4);
}

} // namespace

int vernalEquinoxByFormula(int year)
{
    return formulaDay(20.8357, 20.8431, year);
}

int autumnalEquinoxByFormula(int year)
{
    return formulaDay(23.2588, 23.2488, year);
}

int vernalEquinoxDay(int year)
{
    const PublishedEquinoxes* p = published(year);
    return p && p->vernal != 0 ? p->vernal : vernalEquinoxByFormula(year);
}

int autumnalEquinoxDay(int year)
{
    const PublishedEquinoxes* p = published(year);
    return p ? p->autumnal : autumnalEquinoxByFormula(year);
}

} // namespace holidays
