// The result rules of downloads and the download window's figures.

#include <gtest/gtest.h>

#include "internet/download_rules.h"
#include "shell/text.h"

namespace tkv {
namespace {

TEST(DownloadRules, TextResourcesNeedTheirMarkerLine) {
    EXPECT_EQ(text_resource_body(lf_to_crlf(";Trickvault\nabc")), "abc");
    EXPECT_EQ(text_resource_body(";Trickvault"), "");
    EXPECT_EQ(text_resource_body(";trickvault\r\nabc"), std::nullopt);
    EXPECT_EQ(text_resource_body("<html>404</html>"), std::nullopt);
    EXPECT_EQ(text_resource_body(""), std::nullopt);
}

TEST(DownloadRules, BinaryResourcesNeedTheirName) {
    EXPECT_EQ(named_resource_body(std::string("\x01") + "a" + "1234", "A"), "1234");
    const std::string list = std::string("\x15") + "TRICKVAULT350GAMELIST" + std::string("\0\x02", 2);
    EXPECT_EQ(named_resource_body(list, "trickvault350gamelist"), std::string("\0\x02", 2));
    EXPECT_EQ(named_resource_body(list, "TRICKVAULT350SKINLIST"), std::nullopt);
    EXPECT_EQ(named_resource_body(std::string("\x09") + "SHORT", "SHORT"), std::nullopt) << "cut short";
    EXPECT_EQ(named_resource_body("", ""), std::nullopt);
}

TEST(DownloadRules, FiguresOfTheDownloadWindow) {
    // 5000 bytes per second show 4.90: the two digits come from separate formulas.
    const DownloadFigures f = download_figures(5000, 20000, 1000);
    ASSERT_TRUE(f.speed);
    EXPECT_EQ(speed_text(*f.speed), "4.90");
    EXPECT_EQ(f.percent, 25);
    EXPECT_EQ(f.position, (std::array<std::string, 3>{"19", "4", "25"}));
    EXPECT_EQ(f.time_left, (std::array<std::string, 2>{"0", "03"}));

    // Without a length only the speed changes.
    const DownloadFigures unsized = download_figures(3000, 0, 1500);
    EXPECT_FALSE(unsized.percent);
    EXPECT_FALSE(unsized.position);
    EXPECT_FALSE(unsized.time_left);
    EXPECT_TRUE(unsized.speed);

    EXPECT_FALSE(download_figures(0, 100, 10).speed) << "nothing received yet";
    const DownloadFigures long_one = download_figures(1000, 1000 + 125 * 1000, 1000);
    EXPECT_EQ(long_one.time_left, (std::array<std::string, 2>{"2", "05"}));

    EXPECT_EQ(elapsed_for_display(129), 130);
    EXPECT_EQ(elapsed_for_display(128), 128);
}

TEST(DownloadRules, TheProxyComesFromTheOptionsOnlyWhenSwitchedOn) {
    OPTIONS_TYPE o;
    o.proxy_server = "proxy.example";
    o.proxy_port = "3128";
    o.proxy_user = "me";
    o.use_proxy = false;
    EXPECT_TRUE(proxy_of(o).host.empty());
    EXPECT_EQ(proxy_of(o).port, "80");
    o.use_proxy = true;
    EXPECT_EQ(proxy_of(o).host, "proxy.example");
    EXPECT_EQ(proxy_of(o).port, "3128");
    EXPECT_EQ(proxy_of(o).user, "me");
}

} // namespace
} // namespace tkv
