#include "core/Rtf.h"

#include <gtest/gtest.h>

TEST(Rtf, EinfacherAbsatz) {
    EXPECT_EQ(zw::RtfZuText("{\\rtf1\\ansi Hallo\\par}"), u"Hallo\r\n");
}
