// The driver's real input on a window of our own: typing (Chinese too), keys, a message box
// answered with a real Enter, keyboard play on buttons.
#include <gtest/gtest.h>

#include <QApplication>

#include "e2e/driver.h"
#include "kit/kit.h"
#include "ui/control.h"
#include "ui/window.h"

namespace {

TEST(DriverTest, RealKeysTypeTextAnswerAMessageAndWalkTheButtons) {
  kit::TempDir dir;
  e2e::Driver driver(dir.Path());
  ui::Window window{"probe_window", driver.Platform()};
  ui::TextBox query_box{"query_box"};
  ui::ButtonArray buttons{"buttons", 2};
  window.Add(query_box);
  window.Add(buttons);
  window.Move(1500, 1500, 6000, 3000);
  window.SetCaption("驱动测试");
  query_box.Move(300, 300, 3000, 300);
  buttons[0].Move(300, 1000, 975, 375);
  buttons[1].Move(1275, 1000, 975, 375);
  std::vector<int> codes, clicks;
  bool after_message = false;
  query_box.on_key_press = [&](int code) {
    codes.push_back(code);
    if (code != 13) return;
    driver.Platform().ShowMessage("查到 " + query_box.Text() + "\r\n完");
    after_message = true;
  };
  buttons.on_click = [&](int i) { clicks.push_back(i); };
  driver.Platform().Attach(window);
  window.Show();
  ASSERT_TRUE(driver.WaitUntil([&] { return driver.OnScreen("probe_window"); }));

  ASSERT_TRUE(driver.Click("probe_window", "query_box"));
  ASSERT_TRUE(driver.Type("ab苹果"));
  EXPECT_EQ(query_box.Text(), "ab苹果");
  EXPECT_EQ(codes, (std::vector<int>{'a', 'b', 0x82F9, 0x679C}));

  driver.AnswerMessages(1);
  ASSERT_TRUE(driver.Key("Return"));
  ASSERT_TRUE(driver.WaitUntil([&] { return after_message; }));
  EXPECT_EQ(driver.Messages(), std::vector<std::string>{"查到 ab苹果\n完"});

  driver.Widget("probe_window", "buttons_0")->setFocus();
  ASSERT_TRUE(driver.Key("Right space"));
  EXPECT_EQ(QApplication::focusWidget(), driver.Widget("probe_window", "buttons_1"));
  EXPECT_EQ(clicks, std::vector<int>{1});
  EXPECT_FALSE(driver.Screenshot("probe_window", "driver-self-test").empty());
}

}  // namespace
