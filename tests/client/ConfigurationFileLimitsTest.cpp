// appsrv.ini is read only when it is a regular file of at most 16 MiB: a pipe in its place
// would hold the window for ever, and a huge file would cost many times its size in lines.
// Either is told to the user, and a save leaves it untouched.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "ClientFixture.h"
#include "client/AppsrvIni.h"

namespace ombrel::client {
namespace {

using test::RecordedBox;
using testing::ElementsAre;
using testing::IsEmpty;

RecordedBox warning(const std::string& text) {
    return {text, "Ombrel Printing Tool", core::BoxIcon::Exclamation, core::BoxButtons::Ok};
}

TEST_F(ClientFixture, APipeInPlaceOfTheConfigurationFileIsRefusedAndLeft) {
    std::filesystem::remove(iniFile());
    ASSERT_EQ(0, ::mkfifo(iniFile().c_str(), 0600));
    // A reader that waits for a writer gets one after a while, so that it fails here instead
    // of hanging the test.
    std::promise<void> done;
    std::thread lateWriter([path = iniFile(), finished = done.get_future()] {
        while (finished.wait_for(std::chrono::seconds(2)) == std::future_status::timeout) {
            ::close(::open(path.c_str(), O_RDWR));
        }
    });
    settings->GetZRPClientSettings();
    box("Win32FavorRetainedPrinterSettings").setValue(1);
    settings->SaveZRPClientSettings();
    done.set_value();
    lateWriter.join();

    EXPECT_THAT(boxes.boxes,
                ElementsAre(warning(std::string("The ZRP client configuration file ") + kIniPath +
                                    " was not read: it is not a regular file."),
                            warning(std::string("The ZRP client configuration file ") + kIniPath +
                                    " could not be read: it is not a regular file.\r\n" +
                                    "It was left as it was.")));
    struct stat st {};
    ASSERT_EQ(0, ::stat(iniFile().c_str(), &st));
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "nothing was written in the pipe's place";
}

TEST_F(ClientFixture, AConfigurationFileAbove16MiBIsRefusedAndLeft) {
    const std::string head = "[QVClient]\r\nWin32FavorRetainedPrinterSettings=Off\r\n";
    for (const std::uint64_t size : {kAppsrvIniLimit, kAppsrvIniLimit + 1}) {
        const std::string bytes = head + std::string(size - head.size() - 2, 'x') + "\r\n";
        std::ofstream(iniFile(), std::ios::binary | std::ios::trunc) << bytes;
        boxes.boxes.clear();
        newTab();
        settings->GetZRPClientSettings();
        if (size == kAppsrvIniLimit) {
            EXPECT_EQ(box("Win32FavorRetainedPrinterSettings").value(), 1);
            EXPECT_THAT(boxes.boxes, IsEmpty());
            continue;
        }
        EXPECT_EQ(box("Win32FavorRetainedPrinterSettings").value(), 0);
        settings->SaveZRPClientSettings();
        EXPECT_THAT(boxes.boxes,
                    ElementsAre(warning(std::string("The ZRP client configuration file ") +
                                        kIniPath + " was not read: it is larger than 16 MiB."),
                                warning(std::string("The ZRP client configuration file ") +
                                        kIniPath + " could not be read: it is larger than 16 MiB." +
                                        "\r\nIt was left as it was.")));
        EXPECT_TRUE(iniBytes() == bytes) << "the file was rewritten";
    }
}

}  // namespace
}  // namespace ombrel::client
