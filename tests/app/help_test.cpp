// The help command writes the document carried by the program before every
// showing, so a damaged copy on the disk is replaced.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/help.h"
#include "framework/app.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "string_ids.h"

namespace {

TEST(Help, WritesTheProgramsDocumentOverADamagedCopy) {
    kodrin::test::TempFolder folder(u"kodrin-help-");
    ASSERT_TRUE(folder.Created());
    const std::u16string dir = folder.Path() + u"\\";
    const std::u16string damaged = dir + u"Kodrin.chm";
    const std::uint8_t junk[] = {'j', 'u', 'n', 'k'};
    ASSERT_TRUE(kodrin::platform::WriteFileAtomically(damaged, junk));

    QvLibrary::QvApp app(STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE);
    const std::u16string written = kodrin::app::WriteHelpFile(app, dir);
    ASSERT_EQ(written, damaged);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(kodrin::platform::ReadWholeFile(written, bytes));
    ASSERT_GT(bytes.size(), 0x60u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "ITSF");

    // A folder that cannot take the file gives no path.
    EXPECT_EQ(kodrin::app::WriteHelpFile(app, dir + u"missing\\"), u"");
}

}  // namespace
