// The store records the configuration application hands to the middleware: counts and stage
// numbers from the records in memory are kept within what the records can hold.
#include <gtest/gtest.h>

#include "configurator/win/com_middleware.h"

namespace quill::cfg::win {
namespace {

TEST(CfgRecords, MacroElementsStayWithinTheUpload) {
  macro_store::MacroUpload upload;
  for (size_t i = 0; i < upload.elements.size(); ++i)
    upload.elements[i] = {2, {static_cast<int32_t>(i), 1, 0}, static_cast<int32_t>(10 * i), 0};
  const struct {
    int32_t count;
    size_t expected;
  } cases[] = {{-1, 0}, {0, 0}, {3, 3}, {static_cast<int32_t>(upload.elements.size()), upload.elements.size()},
               {static_cast<int32_t>(upload.elements.size()) + 1, upload.elements.size()}, {INT32_MAX, upload.elements.size()}};
  for (const auto& c : cases) {
    upload.lNumElements = c.count;
    const std::vector<_TMacroElement> elements = ToMacroElements(upload);
    ASSERT_EQ(elements.size(), c.expected) << c.count;
    if (!elements.empty()) {
      EXPECT_EQ(elements.back().action.info.alWords[0], static_cast<LONG>(c.expected - 1));
      EXPECT_EQ(elements.back().lDelayMs, static_cast<LONG>(10 * (c.expected - 1)));
    }
  }
}

TEST(CfgRecords, StageRecordKeepsItsCountWithinTheTable) {
  DpiStages stages;
  stages.ulTotalStages = 3;
  stages.lCurrentStage = 2;
  stages.Sensitivity[1] = {5600, 1800};
  _stDpiStageType record = ToDpiRecord(stages);
  EXPECT_EQ(record.ulTotalStages, 3u);
  EXPECT_EQ(record.lCurrentStage, 2);
  EXPECT_EQ(record.Sensitivity[1].ulXSensitivity, 5600u);
  EXPECT_EQ(record.Sensitivity[1].ulYSensitivity, 1800u);
  stages.ulTotalStages = 0xFFFFFFFF;
  EXPECT_EQ(ToDpiRecord(stages).ulTotalStages, static_cast<ULONG>(kMaxDpiStages));
}

TEST(CfgRecords, MappingRecordCarriesEveryWord) {
  const buttons::MappingWords words{5, 2, 5, {7, 1, 0}};
  const _TButtonMappingInfo info = ToMappingInfo(words);
  EXPECT_EQ(info.lButton, 5);
  EXPECT_EQ(info.mappingType, 2);
  EXPECT_EQ(info.actionOrMacro.actionInfo.actionType, 5);
  EXPECT_EQ(info.actionOrMacro.actionInfo.info.alWords[0], 7);
  EXPECT_EQ(info.actionOrMacro.actionInfo.info.alWords[1], 1);
}

}  // namespace
}  // namespace quill::cfg::win
