#include <gtest/gtest.h>
#include <strings.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "platform/Forms.h"
#include "platform/QtBridge.h"
#include "platform/ScriptedDialogService.h"
#include "platform/StringList.h"

namespace fs = std::filesystem;

// --- Screen ---

class ScreenCursorTest : public testing::Test {
protected:
  void SetUp() override {
    FPreviousHook = SetCursorHook([this](TCursor c) { FShown.push_back(c); });
  }
  void TearDown() override {
    while (Screen->CursorDepth() > 0) Screen->PopCursor();
    Screen->SetCursor(crDefault);
    SetCursorHook(FPreviousHook);
  }
  std::vector<TCursor> FShown;
  TCursorHook FPreviousHook;
};

TEST_F(ScreenCursorTest, PushAndPopRestoreTheCursorsInOrder) {
  ASSERT_EQ(Screen->Cursor(), crDefault);
  Screen->PushCursor(crHourGlass);
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  Screen->PushCursor(crHandPoint);
  EXPECT_EQ(Screen->Cursor(), crHandPoint);
  EXPECT_EQ(Screen->CursorDepth(), 2);
  Screen->PopCursor();
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  Screen->PopCursor();
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(Screen->CursorDepth(), 0);
  // Popping an empty stack changes nothing and shows nothing.
  Screen->PopCursor();
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(FShown, (std::vector<TCursor>{crHourGlass, crHandPoint, crHourGlass, crDefault}));
}

TEST_F(ScreenCursorTest, PopRestoresACursorSetDirectlyBeforeThePush) {
  Screen->SetCursor(crArrow);
  Screen->PushCursor(crHourGlass);
  Screen->SetCursor(crSQLWait);  // a change inside the pushed section is undone by the pop
  Screen->PopCursor();
  EXPECT_EQ(Screen->Cursor(), crArrow);
  EXPECT_EQ(FShown, (std::vector<TCursor>{crArrow, crHourGlass, crSQLWait, crArrow}));
}

TEST(ScreenTest, ResolutionIsFixedAndSizeIsThatOfAHeadlessScreen) {
  EnsureGuiApplication();
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
  QString platform = QGuiApplication::platformName();
  if (platform != "offscreen" && platform != "minimal") GTEST_SKIP() << "a real display is attached";
  EXPECT_EQ(Screen->Width(), 1024);
  EXPECT_EQ(Screen->Height(), 768);
}

TEST(ScreenTest, FontsAreSortedUniqueAndHoldTheInstalledFamilies) {
  TStrings* fonts = Screen->Fonts();
  ASSERT_GT(fonts->Count(), 0);
  EXPECT_EQ(Screen->Fonts(), fonts);  // read once, the same list afterwards
  for (int i = 1; i < fonts->Count(); ++i) {
    EXPECT_LT(strcasecmp((*fonts)[i - 1].c_str(), (*fonts)[i].c_str()), 0) << (*fonts)[i];
  }
  EXPECT_GE(fonts->IndexOf("Liberation Sans"), 0);
  EXPECT_GE(fonts->IndexOf("arial"), 0);  // the classic name that Liberation Sans stands in for
}

// --- Application ---

TEST(ApplicationTest, ProcessMessagesWithoutAnApplicationObjectOnlyFiresTheEvent) {
  if (QCoreApplication::instance()) GTEST_SKIP() << "an earlier test in this process created the application";
  TApplication app;
  int fired = 0;
  app.OnProcessMessages = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &app);
    ++fired;
  };
  app.ProcessMessages();
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

TEST(ApplicationTest, ProcessMessagesHandlesPendingEventsOnlyOnTheToolkitThread) {
  EnsureGuiApplication();
  bool handled = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&] { handled = true; }, Qt::QueuedConnection);
  std::thread other([] { Application->ProcessMessages(); });
  other.join();
  EXPECT_FALSE(handled);
  Application->ProcessMessages();
  EXPECT_TRUE(handled);
  // With nothing pending it returns at once.
  Application->ProcessMessages();
}

TEST(ApplicationTest, ExeNameIsTheRunningTestProgram) {
  std::string exe = Application->ExeName();
  EXPECT_TRUE(fs::path(exe).is_absolute()) << exe;
  EXPECT_EQ(fs::path(exe).filename(), "test_platform");
  EXPECT_TRUE(fs::exists(exe));
}

TEST(ApplicationTest, TitleDefaultsToTheProgramNameUntilSet) {
  TApplication app;
  EXPECT_EQ(app.Title(), "test_platform");
  app.SetTitle("Vellum Demo \xA9");
  EXPECT_EQ(app.Title(), "Vellum Demo \xA9");
}

TEST(ApplicationTest, TerminateIsRemembered) {
  TApplication app;
  EXPECT_FALSE(app.Terminated());
  app.Terminate();
  EXPECT_TRUE(app.Terminated());
  app.Run();  // returns at once once terminated
}

TEST(ApplicationTest, HandleExceptionShowsErrorsButNotTheSilentAbort) {
  TScriptedDialogService dialogs;
  TApplication app;
  auto handle = [&](auto&& raise) {
    try {
      raise();
    } catch (...) {
      app.HandleException(&app);
    }
  };
  handle([] { throw Exception("Disk full"); });
  handle([] { throw EAbort(); });
  handle([] { throw std::runtime_error("bad value"); });
  handle([] { throw EConvertError("Not a number!"); });
  handle([] { throw 42; });
  app.HandleException(&app);  // outside a handler: nothing to show
  ASSERT_EQ(dialogs.Count(dkShowError), 4);
  EXPECT_EQ(dialogs.Calls()[0].Text, "Disk full.");
  EXPECT_EQ(dialogs.Calls()[1].Text, "bad value.");
  EXPECT_EQ(dialogs.Calls()[2].Text, "Not a number!");
  EXPECT_EQ(dialogs.Calls()[3].Text, "Unknown exception.");
}

TEST(ApplicationTest, OnExceptionReplacesTheDisplay) {
  TScriptedDialogService dialogs;
  TApplication app;
  std::string seen;
  TObject* sender = nullptr;
  app.OnException = [&](TObject* Sender, Exception& E) {
    sender = Sender;
    seen = E.Message();
  };
  try {
    throw EConvertError("'x' is not a valid integer value");
  } catch (...) {
    app.HandleException(Screen);
  }
  EXPECT_EQ(seen, "'x' is not a valid integer value");
  EXPECT_EQ(sender, Screen);
  EXPECT_TRUE(dialogs.Calls().empty());
}
