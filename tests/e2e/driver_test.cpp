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
  ui::Window window{"Form9", driver.Platform()};
  ui::TextBox Text1{"Text1"};
  ui::ButtonArray Command1{"Command1", 2};
  window.Add(Text1);
  window.Add(Command1);
  window.Move(1500, 1500, 6000, 3000);
  window.SetCaption("驱动测试");
  Text1.Move(300, 300, 3000, 300);
  Command1[0].Move(300, 1000, 975, 375);
  Command1[1].Move(1275, 1000, 975, 375);
  std::vector<int> codes, clicks;
  bool after_message = false;
  Text1.OnKeyPress = [&](int code) {
    codes.push_back(code);
    if (code != 13) return;
    driver.Platform().ShowMessage("查到 " + Text1.Text() + "\r\n完");
    after_message = true;
  };
  Command1.OnClick = [&](int i) { clicks.push_back(i); };
  driver.Platform().Attach(window);
  window.Show();
  ASSERT_TRUE(driver.WaitUntil([&] { return driver.OnScreen("Form9"); }));

  ASSERT_TRUE(driver.Click("Form9", "Text1"));
  ASSERT_TRUE(driver.Type("ab苹果"));
  EXPECT_EQ(Text1.Text(), "ab苹果");
  EXPECT_EQ(codes, (std::vector<int>{'a', 'b', 0x82F9, 0x679C}));

  driver.AnswerMessages(1);
  ASSERT_TRUE(driver.Key("Return"));
  ASSERT_TRUE(driver.WaitUntil([&] { return after_message; }));
  EXPECT_EQ(driver.Messages(), std::vector<std::string>{"查到 ab苹果\n完"});

  driver.Widget("Form9", "Command1_0")->setFocus();
  ASSERT_TRUE(driver.Key("Right space"));
  EXPECT_EQ(QApplication::focusWidget(), driver.Widget("Form9", "Command1_1"));
  EXPECT_EQ(clicks, std::vector<int>{1});
  EXPECT_FALSE(driver.Screenshot("Form9", "driver-self-test").empty());
}

}  // namespace
