// The eight-byte-per-button conversion of IProfile.
#include "middleware/objects/device/button_block_conversion.h"

#include <gtest/gtest.h>

#include <array>

namespace quill::device {
namespace {

using namespace quill::layout;

ButtonMappingRecord Mapping(int32_t button, int32_t type, int32_t action, int32_t i0) {
  return ButtonMappingRecord{button, type, action, {i0, 0, 0}};
}

size_t Group(size_t slot) { return kButtonBlockFirstGroup + 8 * (slot - 1); }

TEST(ButtonBlockConversion, MappingsGiveClickAndKeyCodesPerSlot) {
  const std::vector<ButtonMappingRecord> mappings{
      Mapping(kButtonLeft, kMappingDeviceAction, kActionClick, kClickLeft),
      Mapping(kButtonRight, kMappingDeviceAction, kActionClick, kClickDoubleLeft),
      Mapping(kButtonRight, kMappingDeviceAction, kActionClick, kClickRight),  // not the first
      Mapping(kButtonCenter, kMappingDeviceAction, kActionClick, kClickButton5),
      Mapping(kButtonMouse4, kMappingDeviceAction, kActionKeycode, 0x11E),
      Mapping(kButtonMouse5, kMappingDeviceAction, kActionClick, 6),           // no code
      Mapping(kButtonDpiUp, kMappingMacro, kActionClick, 1),                   // not a device action
      Mapping(kButtonScrollUp, kMappingDeviceAction, kActionPropertyChange, 4),
  };
  std::vector<uint8_t> block(kButtonBlockSize + 4, 0xEE);
  ASSERT_EQ(MappingsToButtonBlock(mappings, block), kS_OK);
  const std::array<uint8_t, 9> codes{1, 13, 5, 0x24, 0, 0, 0, 0, 0};
  for (size_t k = 1; k <= 9; ++k) {
    EXPECT_EQ(block[Group(k)], k);
    EXPECT_EQ(block[Group(k) + 1], codes[k - 1]) << "slot " << k;
  }
  EXPECT_EQ(block[Group(4) + 2], 0x1E);  // slot 4 is MOUSE_4, whose identifier is 5
  EXPECT_EQ(block[Group(1) + 2], 0xEE);  // only the bytes of the layout are written
  EXPECT_EQ(block[0], 0xEE);
  EXPECT_EQ(block[Group(9) + 3], 0xEE);
}

TEST(ButtonBlockConversion, BlockGivesNineRecordsInSlotOrder) {
  std::vector<uint8_t> block(kButtonBlockSize, 0);
  const std::array<uint8_t, 9> codes{1, 2, 3, 4, 5, 13, 0x24, 0, 0x30};
  for (size_t k = 1; k <= 9; ++k) block[Group(k) + 1] = codes[k - 1];
  block[Group(7) + 2] = 0x39;
  std::vector<ButtonMappingRecord> mappings;
  ASSERT_EQ(ButtonBlockToMappings(block, mappings), kS_OK);
  ASSERT_EQ(mappings.size(), 9u);
  const std::array<int32_t, 9> buttons{1, 2, 3, 5, 4, 6, 7, 8, 9};
  for (size_t i = 0; i < 9; ++i) EXPECT_EQ(mappings[i].lButton, buttons[i]);
  for (size_t i = 0; i < 5; ++i)
    EXPECT_EQ(mappings[i], (ButtonMappingRecord{buttons[i], kMappingDeviceAction, kActionClick,
                                                {static_cast<int32_t>(i), 0, 0}}));
  EXPECT_EQ(mappings[5].info[0], kClickDoubleLeft);
  EXPECT_EQ(mappings[6], (ButtonMappingRecord{7, kMappingDeviceAction, kActionKeycode, {0x39, 0x39, 0}}));
  EXPECT_EQ(mappings[7], (ButtonMappingRecord{8, kMappingDisabled, 0, {0, 0, 0}}));
  EXPECT_EQ(mappings[8].mappingType, kMappingDisabled);

  // And back to the same codes.
  std::vector<uint8_t> again(kButtonBlockSize, 0);
  ASSERT_EQ(MappingsToButtonBlock(mappings, again), kS_OK);
  for (size_t k = 1; k <= 8; ++k) EXPECT_EQ(again[Group(k) + 1], block[Group(k) + 1]) << k;
}

TEST(ButtonBlockConversion, ShortBlocksAreRefused) {
  std::vector<uint8_t> block(kButtonBlockSize - 1, 0);
  std::vector<ButtonMappingRecord> mappings;
  EXPECT_EQ(MappingsToButtonBlock({}, block), kE_INVALIDARG);
  EXPECT_EQ(ButtonBlockToMappings(block, mappings), kE_INVALIDARG);
  EXPECT_TRUE(mappings.empty());
}

}  // namespace
}  // namespace quill::device
