#include "functions/FileMakerPath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FileMakerPath, OnlyFileMakersOwnFormsOfAWholePathChange) {
    const struct {
        std::u16string given, native;
    } cases[] = {
        {u"/C:/Users/Ada/AppData/Local/Temp/S10/sig.gif", u"C:/Users/Ada/AppData/Local/Temp/S10/sig.gif"},
        {u"/d:\\Orders\\sig.gif", u"d:\\Orders\\sig.gif"},
        {u"filewin:/C:/Orders/sig.gif", u"C:/Orders/sig.gif"},
        {u"FILEWIN:C:/Orders/sig.gif", u"C:/Orders/sig.gif"},
        {u"file:/C:/Orders/sig.gif", u"C:/Orders/sig.gif"},
        {u"filelinux:/opt/FileMaker/Data/sig.gif", u"/opt/FileMaker/Data/sig.gif"},
        // Native paths, and what is not a whole path, stay as they are.
        {u"C:\\Orders\\sig.gif", u"C:\\Orders\\sig.gif"},
        {u"/tmp/sig.gif", u"/tmp/sig.gif"},
        {u"file:sig.gif", u"file:sig.gif"},
        {u"/C:", u"/C:"},
        {u"//C:/x", u"//C:/x"},
        {u"/1:/x", u"/1:/x"},
        {u"", u""},
    };
    for (const auto& c : cases) EXPECT_EQ(zera::nativePath(c.given), c.native) << std::string(c.given.begin(), c.given.end());
}

}  // namespace
