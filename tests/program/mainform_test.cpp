// The main form: the central object made on show and freed on close, a close refused while
// the object works, and the command lines handed to it.
#include <gtest/gtest.h>

#include "Timer.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"
#include "support/StartTestSupport.h"

namespace {

class MainForm : public ::testing::Test {
protected:
  void TearDown() override
  {
    delete gQELunit;
    gQELunit = nullptr;
    delete form;
  }

  // Shown, with the start's own (empty) command line already handled.
  BQELunit& Started()
  {
    form->Show();
    EXPECT_NE(gQELunit, nullptr);
    for (int i = 0; i < 11; ++i)
      gQELunit->StartTimerTimer(gQELunit->StartTimer);
    return *gQELunit;
  }

  ScratchFolder folder;
  EnvScope desktopData{"XDG_DATA_HOME", (folder / "desktop").c_str()};
  CommandLineScope ownCommandLine{{}};
  TQELMainForm* form = new TQELMainForm(Application);
};

TEST_F(MainForm, ShowMakesTheCentralObjectOnceAndCloseFreesIt)
{
  EXPECT_EQ(gQELunit, nullptr);
  form->Show();
  BQELunit* unit = gQELunit;
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->Owner, form);
  EXPECT_TRUE(form->Visible());
  form->Hide();
  form->Show();
  EXPECT_EQ(gQELunit, unit);

  form->Close();
  EXPECT_EQ(gQELunit, nullptr);
  EXPECT_FALSE(form->Visible());
}

TEST_F(MainForm, CloseIsRefusedWhileTheStartOpensItsLogOrAParseRuns)
{
  BQELunit& unit = Started();
  for (Byte* flag : {&unit.BusyFlag, &unit.ParseRunning}) {
    *flag = 1;
    form->Close();
    EXPECT_EQ(gQELunit, &unit);
    EXPECT_TRUE(form->Visible());
    *flag = 0;
  }
  form->Close();
  EXPECT_EQ(gQELunit, nullptr);
}

TEST_F(MainForm, AHandedOverCommandLineOpensItsFirstArgument)
{
  const std::string log = folder.Write("second start 1.qel", SmallLog());
  // Before the show there is no object to take it.
  form->WMCopyData("\"/opt/dra volin/dravolin\" \"" + log + "\" more");
  EXPECT_EQ(gQELunit, nullptr);

  form->Show();
  BQELunit& unit = *gQELunit;
  // Not before the start has opened the program's own command line.
  EXPECT_FALSE(TQELMainForm::CanTakeCommandLine());
  form->WMCopyData("\"/opt/dra volin/dravolin\" \"" + log + "\" more");
  EXPECT_EQ(unit.LogFileName, "");

  for (int i = 0; i < 11; ++i)
    unit.StartTimerTimer(unit.StartTimer);
  EXPECT_TRUE(TQELMainForm::CanTakeCommandLine());
  form->WMCopyData("\"/opt/dra volin/dravolin\" \"" + log + "\" more");
  EXPECT_EQ(unit.LogFileName, log);
  EXPECT_EQ(unit.DataCells->Count(), 3);

  // A bare name is looked for in the folder of the sender's program.
  form->WMCopyData("/opt/dravolin/dravolin    other.qel");
  EXPECT_EQ(unit.LogFileName, "/opt/dravolin/other.qel");
  EXPECT_EQ(unit.DataCells->Count(), 0);

  // Nothing after the program path, or a quote never closed: nothing changes.
  unit.LogFileName = log;
  for (const char* line : {"/opt/dravolin/dravolin", "\"/opt/dra volin/dravolin\"   ",
                           "/opt/dravolin/dravolin \"/tmp/x.qel", "\"/opt/dravolin/dravolin x.qel"}) {
    form->WMCopyData(line);
    EXPECT_EQ(unit.LogFileName, log) << line;
  }

  for (Byte* flag : {&unit.BusyFlag, &unit.ParseRunning}) {
    *flag = 1;
    EXPECT_FALSE(TQELMainForm::CanTakeCommandLine());
    *flag = 0;
  }
}

}  // namespace
