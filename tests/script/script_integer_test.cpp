#include "script_integer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Conversion {
    double number;
    int32_t integer;
};

TEST(ScriptInteger, NearestHalfToEvenAndOutOfRangeToMinimum) {
    const double inf = std::numeric_limits<double>::infinity();
    const Conversion cases[] = {
        {0.0, 0},          {-0.0, 0},           {0.5, 0},
        {1.5, 2},          {2.5, 2},            {3.5, 4},
        {-0.5, 0},         {-1.5, -2},          {-2.5, -2},
        {2.4999, 2},       {2.5001, 3},         {-2.5001, -3},
        {0.49999999999999994, 0},
        {2147483647.0, INT32_MAX},              {2147483647.4, INT32_MAX},
        {2147483647.5, INT32_MIN},              {2147483648.0, INT32_MIN},
        {-2147483648.0, INT32_MIN},             {-2147483648.5, INT32_MIN},
        {-2147483647.5, INT32_MIN},             {-2147483646.5, -2147483646},
        {-2147483649.0, INT32_MIN},             {4294967296.0, INT32_MIN},
        {1e300, INT32_MIN},                     {inf, INT32_MIN},
        {-inf, INT32_MIN},                      {std::nan(""), INT32_MIN},
    };
    for (const Conversion& c : cases)
        EXPECT_EQ(script_integer_from_number(c.number), c.integer) << c.number;
}

}  // namespace
