#include "platform/report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/limits.h"
#include "support/fake_port.h"

namespace qw {
namespace {

TEST(ProgramError, FormatsFourLinesWithASignPlace) {
  EXPECT_EQ(FormatProgramError(5, "Invalid procedure call or argument", "MemoLine", ""),
            "Err Code:  5\nErr Desc: Invalid procedure call or argument\nProcname: MemoLine\n"
            "Sub Proc: ");
  EXPECT_EQ(FormatProgramError(-1, "d", "p", "s"),
            "Err Code: -1\nErr Desc: d\nProcname: p\nSub Proc: s");
  EXPECT_EQ(FormatProgramError(0, "", "", "").substr(0, 12), "Err Code:  0");
}

TEST(ProgramError, ShowsAStopBoxTitledProgramError) {
  testing::FakePort port;
  ReportProgramError(port, Fault(kFaultInvalidCall), "GetNextVBWord");
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].title, "Program Error");
  EXPECT_EQ(port.boxes[0].buttons, Buttons::kOk);
  EXPECT_EQ(port.boxes[0].icon, Icon::kStop);
  EXPECT_EQ(port.boxes[0].text.find("Err Code:  5\nErr Desc: " + FaultDescription(5)), 0u);
}

TEST(ProcedureError, ShowsTheDescriptionAlone) {
  testing::FakePort port;
  ShowProcedureError(port, Fault(kFaultFileNotFound));
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].text, FaultDescription(kFaultFileNotFound));
  EXPECT_EQ(port.boxes[0].title, "Quillwright Error");
  EXPECT_EQ(port.boxes[0].icon, Icon::kStop);
}

TEST(Faults, FileErrorsGetTheirClassicNumbers) {
  EXPECT_EQ(FileFault(ENOENT).number(), 53);
  EXPECT_EQ(FileFault(EACCES).number(), 70);
  EXPECT_EQ(FileFault(ENOTDIR).number(), 76);
  EXPECT_EQ(FileFault(EISDIR).number(), 75);
  EXPECT_NE(FaultDescription(6), FaultDescription(9));
  // The system's reason is told once, after the classic words when they differ.
  EXPECT_EQ(FileFault(EACCES).description(), "Permission denied");
  EXPECT_EQ(FileFault(ENOENT).description(), "File not found (No such file or directory)");
  EXPECT_EQ(FileFault(ENOSPC).description(), "Path/File access error (No space left on device)");
}

TEST(Limits, OverflowIsFault6OnlyUnderClassicLimits) {
  SetClassicLimits(true);
  EXPECT_EQ(Check16(32767), 32767);
  EXPECT_EQ(Check16(-32768), -32768);
  EXPECT_THAT([] { Check16(32768); },
              ::testing::Throws<Fault>(::testing::Property(&Fault::number, kFaultOverflow)));
  SetClassicLimits(false);
  EXPECT_EQ(Check16(1'000'000), 1'000'000);
  SetClassicLimits(true);
}

}  // namespace
}  // namespace qw
