#include "build_info.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// The compiler fills __DATE__ and __TIME__ from SOURCE_DATE_EPOCH when the
// environment of the build sets it.
const char* build_date() { return __DATE__; }

const char* build_timestamp() {
    static char text[32];
    if (text[0] != '\0') return text;
    static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const char* date = __DATE__;
    int month = 1;
    while (month < 12 && std::strncmp(kMonths + 3 * (month - 1), date, 3) != 0) ++month;
    const int day = std::atoi(date + 4);
    const int year = std::atoi(date + 7);
    // Day of the week by Sakamoto's rule.
    static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int y = year - (month < 3 ? 1 : 0);
    const int weekday = (y + y / 4 - y / 100 + y / 400 + kOffsets[month - 1] + day) % 7;
    std::snprintf(text, sizeof text, "%s %.3s %2d %s %d", kDays[weekday], date, day, __TIME__, year);
    return text;
}
