#include "core/probe/modbus_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sw48230 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = ReplyVerdict::Kind;

constexpr ModbusRead Registers{0x1234, 7, 3, 10, 2};
constexpr ModbusRead Coils{0x0001, 255, 1, 0, 10};

// Two holding registers, 0x0102 and 0xFFFF, for `Registers`.
const Bytes Register_Answer = {0x12, 0x34, 0, 0, 0, 7, 7, 3, 4, 0x01, 0x02, 0xFF, 0xFF};

TEST(ModbusFrameTest, ReadFrameSendsEveryFieldAsItStands) {
  EXPECT_EQ(Modbus_Read_Frame({0xABCD, 255, 4, 0x1234, 0x0102}),
            (std::array<std::uint8_t, 12>{0xAB, 0xCD, 0, 0, 0, 6, 255, 4, 0x12, 0x34, 0x01, 0x02}));
  for (const int unit : {0, 247, 248, 254}) {
    EXPECT_EQ(Modbus_Read_Frame({1, static_cast<std::uint8_t>(unit), 3, 0, 1})[6], unit);
  }
}

TEST(ModbusFrameTest, WholeAnswersGiveTheirValues) {
  const ReplyVerdict registers = Check_Reply(Registers, Register_Answer);
  EXPECT_EQ(registers.kind, Kind::Values) << registers.problem;
  EXPECT_EQ(registers.values, (std::vector<std::uint16_t>{0x0102, 0xFFFF}));

  // Ten coils, the first byte's lowest bit first; the last byte's unused
  // high bits are not values.
  const ReplyVerdict coils = Check_Reply(Coils, Bytes{0, 1, 0, 0, 0, 5, 255, 1, 2, 0b1000'0101, 0b1111'1110});
  EXPECT_EQ(coils.kind, Kind::Values) << coils.problem;
  EXPECT_EQ(coils.values, (std::vector<std::uint16_t>{1, 0, 1, 0, 0, 0, 0, 1, 0, 1}));

  // Codes without a standard name are exceptions all the same.
  for (const std::uint8_t code : {0x02, 0x0C, 0xFF}) {
    const ReplyVerdict exception = Check_Reply(Registers, Bytes{0x12, 0x34, 0, 0, 0, 3, 7, 0x83, code});
    EXPECT_EQ(exception.kind, Kind::Exception) << exception.problem;
    EXPECT_EQ(exception.exception_code, code);
  }
}

TEST(ModbusFrameTest, AnAnswerInPiecesIsIncompleteUntilItsLastByte) {
  for (std::size_t size = 0; size < Register_Answer.size(); ++size) {
    const ReplyVerdict verdict = Check_Reply(Registers, std::span(Register_Answer).first(size));
    EXPECT_EQ(verdict.kind, Kind::Incomplete) << size << ": " << verdict.problem;
    // The size is known once the byte count agrees with the length field.
    EXPECT_EQ(verdict.answer_size, size >= 9 ? Register_Answer.size() : 0) << size;
  }
}

TEST(ModbusFrameTest, AReplyThatIsNoAnswerToTheReadIsMalformedAtItsFirstWrongField) {
  struct Case {
    const char* problem;
    Bytes reply;
    std::size_t decided_at;  // the bytes needed to tell; 0: only the whole reply is checked
  };
  const Case cases[] = {
      {"transaction id 4661 instead of 4660", {0x12, 0x35, 0, 0, 0, 7, 7, 3, 4, 1, 2, 3, 4}, 2},
      {"protocol id 1 instead of 0", {0x12, 0x34, 0, 1, 0, 7, 7, 3, 4, 1, 2, 3, 4}, 4},
      {"unit id 8 instead of 7", {0x12, 0x34, 0, 0, 0, 7, 8, 3, 4, 1, 2, 3, 4}, 7},
      {"function code 4 instead of 3", {0x12, 0x34, 0, 0, 0, 7, 7, 4, 4, 1, 2, 3, 4}, 8},
      {"function code 132 instead of 3", {0x12, 0x34, 0, 0, 0, 3, 7, 0x84, 2}, 8},
      {"byte count 2 instead of 4", {0x12, 0x34, 0, 0, 0, 5, 7, 3, 2, 1, 2}, 9},
      {"byte count 6 instead of 4", {0x12, 0x34, 0, 0, 0, 9, 7, 3, 6, 1, 2, 3, 4, 5, 6}, 9},
      {"length field 9 instead of 7", {0x12, 0x34, 0, 0, 0, 9, 7, 3, 4, 1, 2, 3, 4}, 9},
      {"length field 6 instead of 7", {0x12, 0x34, 0, 0, 0, 6, 7, 3, 4, 1, 2, 3, 4}, 9},
      {"length field 65535 instead of 7", {0x12, 0x34, 0, 0, 0xFF, 0xFF, 7, 3, 4, 1, 2, 3, 4}, 9},
      {"length field 4 instead of 3", {0x12, 0x34, 0, 0, 0, 4, 7, 0x83, 2, 0}, 9},
      {"exception code 0", {0x12, 0x34, 0, 0, 0, 3, 7, 0x83, 0}, 9},
      {"1 byte beyond its length field", {0x12, 0x34, 0, 0, 0, 7, 7, 3, 4, 1, 2, 3, 4, 0}, 14},
      {"13 bytes beyond its length field",
       {0x12, 0x34, 0, 0, 0, 7, 7, 3, 4, 1, 2, 3, 4, 0x12, 0x34, 0, 0, 0, 7, 7, 3, 4, 1, 2, 3, 4},
       0},
  };
  for (const Case& c : cases) {
    const ReplyVerdict verdict = Check_Reply(Registers, c.reply);
    EXPECT_EQ(verdict.kind, Kind::Malformed) << c.problem;
    EXPECT_EQ(verdict.problem, c.problem);
    EXPECT_TRUE(verdict.values.empty()) << c.problem;
    if (c.decided_at == 0) continue;
    EXPECT_NE(Check_Reply(Registers, std::span(c.reply).first(c.decided_at - 1)).kind, Kind::Malformed) << c.problem;
    EXPECT_EQ(Check_Reply(Registers, std::span(c.reply).first(c.decided_at)).problem, c.problem);
  }
}

TEST(ModbusFrameTest, AQuantityNoAnswerCanHoldHasOnlyMalformedReplies) {
  // 128 registers are 256 bytes, beyond what a byte count can say.
  const ModbusRead too_many{1, 1, 3, 0, 128};
  Bytes reply = {0, 1, 0, 0, 1, 3, 1, 3, 0};
  reply.resize(6 + 259, 0);
  EXPECT_EQ(Check_Reply(too_many, reply).problem, "byte count 0 instead of 256");
}

}  // namespace
}  // namespace sw48230
