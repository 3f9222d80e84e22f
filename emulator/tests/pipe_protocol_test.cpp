// The pipe messages and the server side of one connection, without a pipe.
#include <gtest/gtest.h>

#include "emulator/in_process_port.h"
#include "emulator/pipe_protocol.h"
#include "emulator/tests/report_helpers.h"
#include "middleware/transport/device_ids.h"

namespace quill::emu {
namespace {

class PipeSessionTest : public ::testing::Test {
 protected:
  std::vector<uint8_t> Send(PipeSession& s, const std::vector<uint8_t>& m) { return s.Handle(m, quit); }
  QuillfernModel model;
  bool quit = false;
};

TEST_F(PipeSessionTest, EnumerateListsTheForeignMouseThenTheMouse) {
  PipeSession session(model, 77);
  const auto list = ParseEnumerateReply(Send(session, EnumerateRequest()));
  ASSERT_TRUE(list);
  ASSERT_EQ(list->size(), 2u);
  EXPECT_EQ((*list)[0].attributes.vendor_id, kWineVirtualMouseVendor);
  EXPECT_EQ((*list)[1].path, model.DevicePath());
  EXPECT_EQ((*list)[1].attributes.product_id, QUILLFERN_PID);
}

TEST_F(PipeSessionTest, OneConnectionIsOneHandle) {
  PipeSession session(model, 77);
  EXPECT_FALSE(IsOkReply(Send(session, SetFeatureRequest(test::Read(kCmdDeviceInfo, 1).data(), 91))))
      << "nothing opened yet";
  ASSERT_TRUE(IsOkReply(Send(session, OpenRequest(model.DevicePath()))));
  EXPECT_FALSE(IsOkReply(Send(session, OpenRequest(model.DevicePath())))) << "opened once";
  const auto attributes = ParseAttributesReply(Send(session, AttributesRequest()));
  ASSERT_TRUE(attributes);
  EXPECT_EQ(attributes->vendor_id, VENDOR_ID);

  const FeatureReport request = test::Read(kCmdDeviceInfo, 1);
  ASSERT_TRUE(IsOkReply(Send(session, SetFeatureRequest(request.data(), request.size()))));
  FeatureReport reply{};
  ASSERT_TRUE(ParseGetFeatureReply(Send(session, GetFeatureRequest()), reply.data(), reply.size()));
  EXPECT_EQ(reply[kStatus], kStatusDone);
  EXPECT_EQ(reply[9], 'Q');
  EXPECT_EQ(model.LogEntries().front().client, 77u);
  // Reports of no bytes are refused, not read from or written to an empty buffer.
  EXPECT_FALSE(IsOkReply(Send(session, {uint8_t(PipeOp::kSetFeature), 0, 0, 0, 0})));
  EXPECT_FALSE(IsOkReply(Send(session, {uint8_t(PipeOp::kGetFeature), 0, 0, 0, 0})));

  model.Unplug();
  EXPECT_FALSE(IsOkReply(Send(session, SetFeatureRequest(request.data(), request.size()))));
  EXPECT_FALSE(ParseAttributesReply(Send(session, AttributesRequest())));
  model.Replug(false);
  EXPECT_FALSE(IsOkReply(Send(session, SetFeatureRequest(request.data(), request.size()))))
      << "the connection's handle died with the unplug";
}

TEST_F(PipeSessionTest, TheForeignMouseOpensButHasNoFeatureReports) {
  PipeSession session(model, 1);
  ASSERT_TRUE(IsOkReply(Send(session, OpenRequest(ForeignMousePath()))));
  EXPECT_EQ(ParseAttributesReply(Send(session, AttributesRequest()))->vendor_id, kWineVirtualMouseVendor);
  const FeatureReport request = test::Read(kCmdDeviceInfo, 1);
  EXPECT_FALSE(IsOkReply(Send(session, SetFeatureRequest(request.data(), request.size()))));
  EXPECT_TRUE(model.LogEntries().empty());
  PipeSession other(model, 1);
  EXPECT_FALSE(IsOkReply(Send(other, OpenRequest(u"\\\\?\\nothing"))));
}

TEST_F(PipeSessionTest, ControlCommandsTravelAsText) {
  PipeSession session(model, 1);
  auto reply = ParseControlReply(Send(session, ControlRequest("press dpi-up")));
  ASSERT_TRUE(reply);
  EXPECT_TRUE(reply->ok);
  EXPECT_EQ(reply->output.rfind("changed=1", 0), 0u);
  reply = ParseControlReply(Send(session, ControlRequest("bogus")));
  ASSERT_TRUE(reply);
  EXPECT_FALSE(reply->ok);
  EXPECT_FALSE(quit);
  reply = ParseControlReply(Send(session, ControlRequest("quit")));
  EXPECT_TRUE(reply->quit);
  EXPECT_TRUE(quit);
}

TEST_F(PipeSessionTest, MalformedMessagesFailCleanly) {
  PipeSession session(model, 1);
  const std::vector<std::vector<uint8_t>> bad = {
      {},
      {0},
      {99},
      {uint8_t(PipeOp::kEnumerate), 0},
      {uint8_t(PipeOp::kOpen), 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0},  // path longer than the message
      {uint8_t(PipeOp::kOpen), 1, 0, 0},
      {uint8_t(PipeOp::kSetFeature), 91, 0, 0, 0, 1, 2},
      {uint8_t(PipeOp::kGetFeature)},
      {uint8_t(PipeOp::kControl), 5, 0, 0, 0, 'h'},
  };
  for (const auto& message : bad) EXPECT_EQ(Send(session, message), std::vector<uint8_t>{kPipeFailed});
  EXPECT_FALSE(ParseEnumerateReply({kPipeOk, 5, 0, 0, 0}));
  EXPECT_FALSE(ParseControlReply({kPipeFailed}));
  uint8_t report[91];
  EXPECT_FALSE(ParseGetFeatureReply({kPipeOk, 90, 0, 0, 0}, report, sizeof report));
}

}  // namespace
}  // namespace quill::emu
