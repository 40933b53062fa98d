#include <gtest/gtest.h>

#include <string>

#include "text/percent_decoding.h"

namespace {

TEST(PercentDecoded, EscapesBecomeBytesAndWhatIsNoEscapeStays) {
    struct Case {
        std::string encoded;
        bool plus_is_space;
        std::string decoded;
    };
    const Case cases[] = {
        {"p%40ss%2Fw%3Ad", false, "p@ss/w:d"},
        {"%e5%AF%86", false, "\xe5\xaf\x86"},  // either case of hex digit
        {"a+b%2Bc", false, "a+b+c"},
        {"a+b%2Bc", true, "a b+c"},
        {"100%", false, "100%"},      // a '%' at the end
        {"x%4", false, "x%4"},        // one digit short
        {"%zz%4g", false, "%zz%4g"},  // not hex
        {"%%41", false, "%A"},        // the second '%' begins the escape
        {"%00z", false, std::string("\0z", 2)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text::percent_decoded(c.encoded, c.plus_is_space), c.decoded) << c.encoded;
}

}  // namespace
