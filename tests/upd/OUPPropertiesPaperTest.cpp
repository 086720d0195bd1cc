#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "upd/PaperSizes.h"

namespace ombrel::upd {
namespace {

TEST(PaperSizesTest, ListFollowsTheDeviceModePaperCodes) {
    const auto& names = paperSizeNames();
    const std::map<int, std::string> fixed{
        {0, "User Defined (must set Length & Width)"},
        {1, "US Letter 8 1/2 x 11 in"},
        {2, "US Letter Small 8 1/2 x 11 in"},
        {3, "US Tabloid 11 x 17 in"},
        {4, "US Ledger 17 x 11 in"},
        {5, "US Legal 8 1/2 x 14 in"},
        {8, "A3 297 x 420 mm"},
        {9, "A4 210 x 297 mm"},
        {11, "A5 148 x 210 mm"},
        {48, "RESERVED--DO NOT USE"},
        {49, "RESERVED--DO NOT USE"},
        {118, "PRC Envelope #10 Rotated 458 x 324 mm"},
    };
    for (const auto& [index, name] : fixed) {
        EXPECT_EQ(names[index], name) << index;
    }
    // Every other entry names a paper and its size, once.
    std::set<std::string> seen;
    for (int i = 1; i < kPaperSizeCount; ++i) {
        ASSERT_NE(names[i], nullptr) << i;
        const std::string name = names[i];
        if (i == 48 || i == 49) {
            continue;
        }
        EXPECT_NE(name.find(" x "), std::string::npos) << i << " " << name;
        EXPECT_TRUE(name.ends_with(" mm") || name.ends_with(" in")) << i << " " << name;
        EXPECT_TRUE(seen.insert(name).second) << "twice: " << name;
    }
}

}  // namespace
}  // namespace ombrel::upd
